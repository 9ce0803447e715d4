#include "CaptureHistoryItem.h"

#include <QFileInfo>
#include <QImageReader>

namespace {

constexpr qint64 maximumPixels = 80'000'000;

} // namespace

CaptureHistoryItem::CaptureHistoryItem(QString path, QDateTime date) : m_path(std::move(path)), m_date(std::move(date))
{
}

QString CaptureHistoryItem::id() const
{
    return QFileInfo(m_path).fileName();
}

QImage CaptureHistoryItem::thumbnail() const
{
    QImageReader reader(m_path, "png");
    const QSize size = reader.size();
    if (size.isEmpty() || qint64(size.width()) * size.height() > maximumPixels)
        return QImage();
    if (size.width() > thumbnailSize || size.height() > thumbnailSize)
        reader.setScaledSize(size.scaled(thumbnailSize, thumbnailSize, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}
