#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

// One recent export: a PNG file of the history folder and when it was made.
class CaptureHistoryItem {
public:
    // Longest side of a thumbnail, in pixels.
    static constexpr int thumbnailSize = 360;

    CaptureHistoryItem() = default;
    CaptureHistoryItem(QString path, QDateTime date);

    const QString &path() const { return m_path; }
    // Invalid when the file system reports no date (it then sorts as the oldest).
    const QDateTime &date() const { return m_date; }
    // The entry's file name, which also identifies it.
    QString id() const;

    // The whole image; null when it cannot be read or exceeds 80 megapixels.
    QImage image() const;
    // At most `thumbnailSize` pixels on the longest side, shrunk while decoding;
    // null when the file cannot be read.
    QImage thumbnail() const;

    bool operator==(const CaptureHistoryItem &other) const = default;

private:
    QString m_path;
    QDateTime m_date;
};
