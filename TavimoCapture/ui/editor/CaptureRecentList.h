#pragma once

#include "CaptureHistoryEntry.h"
#include "CaptureHistoryItem.h"

#include <QHash>
#include <QIcon>
#include <QListWidget>
#include <QSet>

#include <optional>

class CaptureWorkspace;

// The recent exports, newest first. Rows appear at once; their thumbnails are
// decoded on the thread pool and fill in as they arrive. Clicking a row (or
// Return) opens the entry; its context menu removes it from the history.
class CaptureRecentList : public QListWidget {
    Q_OBJECT

public:
    static constexpr const char *unavailable = QT_TR_NOOP("This recent image is unavailable.");
    static constexpr QSize thumbnailDisplaySize{112, 64};

    explicit CaptureRecentList(CaptureWorkspace &model, QWidget *parent = nullptr);

    // True while no thumbnail or entry is being loaded.
    bool isIdle() const { return m_loading.isEmpty() && m_openRequest == 0; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    static QString cacheKey(const CaptureHistoryItem &item);
    CaptureHistoryItem historyItem(const QListWidgetItem *row) const;
    void rebuild();
    void loadThumbnail(const CaptureHistoryItem &item);
    void showThumbnail(const QString &key, const QImage &thumbnail);
    void open(const QListWidgetItem *row);
    void finishOpening(quint64 request, const std::optional<CaptureHistoryEntry> &entry);
    void showContextMenu(QPoint position);
    void remove(const CaptureHistoryItem &item);

    CaptureWorkspace &m_model;
    QIcon m_placeholder;
    QHash<QString, QIcon> m_thumbnails;
    QSet<QString> m_loading;
    quint64 m_openRequests = 0;
    quint64 m_openRequest = 0;
};
