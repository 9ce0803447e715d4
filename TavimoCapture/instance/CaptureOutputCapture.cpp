#include "CaptureOutputCapture.h"

#include "CaptureBoard.h"
#include "CaptureDisplayAssembly.h"
#include "CaptureDocument.h"
#include "CaptureInstanceReply.h"
#include "CapturePngEncoder.h"
#include "CaptureRequest.h"
#include "CaptureService.h"

#include <QPointer>
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

CaptureOutcome encoded(const std::optional<QImage> &image)
{
    if (!image)
        return CaptureOutcome{CaptureOutcome::Kind::cancelled, {}, {}};
    return CaptureOutcome{CaptureOutcome::Kind::image, CapturePngEncoder::encode(*image), {}};
}

QFuture<std::optional<QImage>> captured(CaptureService &service, CaptureMode mode, QObject *context)
{
    if (mode != CaptureMode::allDisplays)
        return service.capture(mode);
    return service.captureAllDisplays().then(context, [](const QList<CaptureDisplayImage> &displays) {
        if (displays.isEmpty())
            return std::optional<QImage>();
        if (displays.size() == 1)
            return std::optional<QImage>(displays.constFirst().image);
        return std::optional<QImage>(besideEachOther(displays));
    });
}

} // namespace

QFuture<CaptureOutcome> CaptureOutputCapture::run(CaptureService &service, CaptureMode mode, std::chrono::seconds delay,
                                                  QObject *context)
{
    return wait(delay, context)
        .then(context, [&service, mode, context] { return captured(service, mode, context); })
        .unwrap()
        .then(QtFuture::Launch::Async, encoded)
        .onFailed([](const std::exception &error) { return CaptureOutcome::failure(QString::fromUtf8(error.what())); });
}

void CaptureOutputCapture::answer(CaptureService &service, const CaptureRequest &request, CaptureInstanceReply *reply)
{
    run(service, request.mode, std::chrono::seconds(request.delaySeconds), reply)
        .then(reply, [reply = QPointer(reply)](const CaptureOutcome &outcome) {
            if (reply)
                reply->send(outcome);
        });
}
