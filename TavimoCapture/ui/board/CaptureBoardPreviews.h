#pragma once

#include <QFutureWatcher>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>

#include <atomic>
#include <memory>
#include <optional>

class CaptureBoard;

// The pictures a board view shows, rendered on the thread pool from a snapshot
// of the board: each item's content image, and on request the finished
// export, each shrunk for display. A new
// refresh supersedes the running one; an older result is never shown after a
// newer one. GUI thread only.
class CaptureBoardPreviews : public QObject {
    Q_OBJECT

public:
    static constexpr int maximumPreviewSide = 1600;
    static constexpr int maximumExportPreviewSide = 2400;

    explicit CaptureBoardPreviews(QObject *parent = nullptr);
    ~CaptureBoardPreviews() override;

    // Starts rendering the board as it is now; `withExport` also renders the finished image.
    void refresh(CaptureBoard &board, bool withExport);
    bool isRefreshing() const { return m_watcher != nullptr; }

    // Keyed by item id; an item whose rendering failed has no entry.
    const QHash<QUuid, QImage> &previews() const { return m_previews; }
    // The last finished image, shrunk; none before the first or after a failed one.
    const std::optional<QImage> &exportPreview() const { return m_exportPreview; }

signals:
    void previewsChanged();
    void exportPreviewChanged();
    // The finished image could not be made; the user reads `failure`.
    void exportFailed(const QString &failure);

private:
    struct Result {
        QHash<QUuid, QImage> previews;
        bool withExport = false;
        std::optional<QImage> exportPreview;
        QString exportFailure;
    };

    static Result render(std::shared_ptr<CaptureBoard> snapshot, bool withExport,
                         const std::shared_ptr<std::atomic_bool> &cancelled);
    void finish(QFutureWatcher<Result> *watcher);
    void cancelRunning();

    QHash<QUuid, QImage> m_previews;
    std::optional<QImage> m_exportPreview;
    QPointer<QFutureWatcher<Result>> m_watcher;
    std::shared_ptr<std::atomic_bool> m_cancelled;
};
