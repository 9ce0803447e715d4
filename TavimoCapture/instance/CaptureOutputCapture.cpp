#include "CaptureOutputCapture.h"

#include "CaptureBoard.h"
#include "CaptureDisplayAssembly.h"
#include "CaptureDocument.h"
#include "CapturePngEncoder.h"
#include "CaptureService.h"

#include <QCoreApplication>
#include <QPromise>
#include <QTimer>
#include <QtConcurrent>

#include <exception>

namespace {

QFuture<void> wait(std::chrono::seconds delay, QObject *context)
{
    auto elapsed = std::make_shared<QPromise<void>>();
    elapsed->start();
    QTimer::singleShot(delay, context, [elapsed] { elapsed->finish(); });
    return elapsed->future();
}

QImage besideEachOther(const QList<CaptureDisplayImage> &displays)
{
    const QList<QSizeF> sizes = CaptureDisplayAssembly::boardSizes(displays);
    CaptureBoard board(std::make_shared<CaptureDocument>(displays.constFirst().image));
    board.updateFrame(board.selectedID(), QRectF(QPointF(0, 0), sizes.constFirst()));
    QList<QImage> others;
    for (qsizetype index = 1; index < displays.size(); ++index)
        others.append(displays[index].image);
    board.addImages(others, sizes.mid(1));
    board.applyLayout(CaptureBoardLayout::row);
    return board.flattenedImage();
}

CaptureOutcome imageOrCancelled(const std::optional<QByteArray> &png)
{
    if (!png)
        return CaptureOutcome{CaptureOutcome::Kind::cancelled, {}, {}};
    return CaptureOutcome{CaptureOutcome::Kind::image, *png, {}};
}

QFuture<CaptureOutcome> allDisplays(CaptureService &service, QObject *context)
{
    return service.captureAllDisplays()
        .then(context,
              [](const QList<CaptureDisplayImage> &displays) {
                  if (displays.isEmpty())
                      return QImage();
                  if (displays.size() == 1)
                      return displays.constFirst().image;
                  return besideEachOther(displays);
              })
        .then(QtFuture::Launch::Async, [](const QImage &image) {
            if (image.isNull())
                return imageOrCancelled(std::nullopt);
            return imageOrCancelled(CapturePngEncoder::encode(image));
        });
}

// The tool's own PNG goes out as it is: decoding and encoding it again would only cost time.
QFuture<CaptureOutcome> captured(CaptureService &service, CaptureMode mode, QObject *context)
{
    if (mode == CaptureMode::allDisplays)
        return allDisplays(service, context);
    if (service.busy())
        return QtFuture::makeReadyFuture(CaptureOutcome::failure(
            QCoreApplication::translate("CaptureOutputCapture", "Another capture is still running.")));
    return service.capturePng(mode).then(imageOrCancelled);
}

} // namespace

QFuture<CaptureOutcome> CaptureOutputCapture::run(CaptureService &service, CaptureMode mode, std::chrono::seconds delay,
                                                  QObject *context)
{
    return wait(delay, context)
        .then(context, [&service, mode, context] { return captured(service, mode, context); })
        .unwrap()
        .onFailed([](const std::exception &error) { return CaptureOutcome::failure(QString::fromUtf8(error.what())); });
}
