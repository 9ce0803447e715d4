#pragma once

#include "CaptureHistoryEntry.h"
#include "CaptureHistoryItem.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

// The recent exports: a private folder of UUID-named PNG files, each with an
// optional JSON sidecar holding the path of the file it was exported to.
// Every call reads the folder afresh; nothing is cached. Foreign and hidden
// files in the folder are never listed or touched. Calls block on the disk
// (writes are flushed); the store shares no state, so a worker thread may
// make them.
//
// Errors: file-system failures throw CaptureFileSystemError; an image that
// cannot be encoded throws CaptureError(CaptureFailure::write).
class CaptureHistory {
public:
    static constexpr int workspaceLimit = 20;

    // An empty `directory` selects defaultDirectory(); `limit` is raised to 1.
    explicit CaptureHistory(const QString &directory = QString(), int limit = workspaceLimit);

    // $XDG_DATA_HOME/TavimoCapture/History
    static QString defaultDirectory();

    const QString &directory() const { return m_directory; }
    int limit() const { return m_limit; }

    // Newest first; an unreadable or missing folder lists as empty.
    QList<CaptureHistoryItem> items() const;

    // Records an export and returns the entry's file name. `replacing` (an
    // entry's file name) is overwritten when it names an entry; `savedPath` is
    // linked when it is a regular file, otherwise an older link is removed.
    // Entries beyond the limit are pruned, never the one just written.
    QString save(const QImage &image, const QString &replacing = QString(), const QString &savedPath = QString()) const;
    // The same for an image already encoded with png().
    QString savePng(const QByteArray &png, const QString &replacing = QString(),
                    const QString &savedPath = QString()) const;

    // Removes an entry and its sidecar; an item outside the folder, or one that
    // is not an entry, is ignored.
    void remove(const CaptureHistoryItem &item) const;
    // Removes every entry; stops at the first error.
    void clear() const;

    // Removes what a save or removal cut short by a crash left: hidden
    // temporary files beside entries and sidecars, and sidecars whose entry is
    // gone. Run at start.
    void removeLeftovers() const;

    // Loads an entry for editing; none when its image cannot be read.
    std::optional<CaptureHistoryEntry> reopen(const CaptureHistoryItem &item) const;

    // The app's one PNG encoding, for the clipboard, saved files and history.
    // Throws CaptureError(CaptureFailure::write) when the image cannot be encoded.
    static QByteArray png(const QImage &image);
    // `path` when it is an absolute path of a regular file (not following links).
    static std::optional<QString> existingExport(const QString &path);
    // A UUID in canonical form followed by ".png".
    static bool isEntryName(const QString &fileName);
    // Later dates first; equal dates by file name, greater first. Stable.
    static void sortNewestFirst(QList<CaptureHistoryItem> &items);

private:
    void createDirectory() const;
    void writeSidecar(const QString &sidecar, const QString &savedPath) const;
    void prune(const QString &keptName) const;

    QString m_directory;
    int m_limit;
};
