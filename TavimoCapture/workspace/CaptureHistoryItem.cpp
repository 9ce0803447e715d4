#include "CaptureHistoryItem.h"

#include <QImageReader>

namespace {

constexpr qint64 maximumPixels = 80'000'000;

// The size the header gives, or an empty size when the file is unreadable or
// beyond the 80-megapixel limit.
QSize readableSize(const QImageReader &reader)
{
    const QSize size = reader.size();
    if (size.isEmpty() || qint64(size.width()) * size.height() > maximumPixels)
        return QSize();
    return size;
}

} // namespace

CaptureHistoryItem::CaptureHistoryItem(QString path, QDateTime date) : m_path(std::move(path)), m_date(std::move(date))
{
}

QString CaptureHistoryItem::id() const
{
    return m_path.sliced(m_path.lastIndexOf(QLatin1Char('/')) + 1);
}

QImage CaptureHistoryItem::thumbnail() const
{
    QImageReader reader(m_path, "png");
    const QSize size = readableSize(reader);
    if (size.isEmpty())
        return QImage();
    if (size.width() > thumbnailSize || size.height() > thumbnailSize)
        reader.setScaledSize(size.scaled(thumbnailSize, thumbnailSize, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

QImage CaptureHistoryItem::image() const
{
    QImageReader reader(m_path, "png");
    return readableSize(reader).isEmpty() ? QImage() : reader.read();
}
