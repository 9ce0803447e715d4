#include "CaptureBoardPreviews.h"

#include "CaptureBoard.h"
#include "CaptureErrorText.h"

#include <QThread>
#include <QtConcurrent>

#include <exception>

namespace {

// Hands the snapshot's objects over to whichever thread pulls them next.
void release(CaptureBoard &snapshot)
{
    snapshot.moveToThread(nullptr);
    for (const CaptureBoardItem &item : snapshot.items())
        item.document->moveToThread(nullptr);
}

void adopt(CaptureBoard &snapshot)
{
    snapshot.moveToThread(QThread::currentThread());
    for (const CaptureBoardItem &item : snapshot.items())
        item.document->moveToThread(QThread::currentThread());
}

QImage shrunk(const QImage &image, int side)
{
    if (image.width() <= side && image.height() <= side)
        return image;
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

CaptureBoardPreviews::CaptureBoardPreviews(QObject *parent) : QObject(parent)
{
}

CaptureBoardPreviews::~CaptureBoardPreviews()
{
    cancelRunning();
}

void CaptureBoardPreviews::refresh(CaptureBoard &board, bool withExport)
{
    cancelRunning();
    std::shared_ptr<CaptureBoard> snapshot = board.snapshot();
    release(*snapshot);
    m_cancelled = std::make_shared<std::atomic_bool>(false);
    auto *watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] { finish(watcher); });
    m_watcher = watcher;
    watcher->setFuture(
        QtConcurrent::run([snapshot = std::move(snapshot), withExport, cancelled = m_cancelled]() mutable {
            return render(std::move(snapshot), withExport, cancelled);
        }));
}

void CaptureBoardPreviews::cancelRunning()
{
    if (m_cancelled)
        m_cancelled->store(true);
    m_watcher = nullptr;
}

// Runs on the thread pool; the snapshot dies here too.
CaptureBoardPreviews::Result CaptureBoardPreviews::render(std::shared_ptr<CaptureBoard> snapshot, bool withExport,
                                                          const std::shared_ptr<std::atomic_bool> &cancelled)
{
    adopt(*snapshot);
    Result result;
    result.withExport = withExport;
    for (const CaptureBoardItem &item : snapshot->items()) {
        if (cancelled->load())
            return result;
        try {
            result.previews.insert(item.id, shrunk(item.document->contentImage(), maximumPreviewSide));
        } catch (const std::exception &) {
            // The item keeps its placeholder.
        }
    }
    if (withExport && !cancelled->load()) {
        try {
            result.exportPreview = shrunk(snapshot->flattenedImage(), maximumExportPreviewSide);
        } catch (const std::exception &error) {
            result.exportFailure = CaptureErrorText::of(error);
        }
    }
    return result;
}

void CaptureBoardPreviews::finish(QFutureWatcher<Result> *watcher)
{
    watcher->deleteLater();
    if (watcher != m_watcher)
        return;
    m_watcher = nullptr;
    const Result result = watcher->result();
    m_previews = result.previews;
    emit previewsChanged();
    // An export preview left from an earlier board would be stale now.
    if (!result.withExport && !m_exportPreview)
        return;
    m_exportPreview = result.exportPreview;
    emit exportPreviewChanged();
    if (result.withExport && !result.exportPreview)
        emit exportFailed(result.exportFailure);
}
