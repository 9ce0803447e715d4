#include "CaptureHistoryItem.h"

#include "CaptureHistoryThumbnail.h"
#include "CaptureRenderer.h"
#include "PixelLimit.h"

#include <QImageReader>

CaptureHistoryItem::CaptureHistoryItem(QString path, QDateTime date) : m_path(std::move(path)), m_date(std::move(date))
{
}

QString CaptureHistoryItem::id() const
{
    return m_path.sliced(m_path.lastIndexOf(QLatin1Char('/')) + 1);
}

QImage CaptureHistoryItem::thumbnail() const
{
    return CaptureHistoryThumbnail::fromPng(m_path, thumbnailSize);
}

QImage CaptureHistoryItem::image() const
{
    QImageReader reader(m_path, "png");
    const QSize size = reader.size();
    if (!withinPixelLimit(size))
        return QImage();
    return reader.read();
}
