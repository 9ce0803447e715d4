#include "CaptureHistoryItem.h"

#include "CaptureHistoryThumbnail.h"
#include "CaptureRenderer.h"
#include "CaptureImageImport.h"
#include "CaptureImportFailure.h"

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
    try {
        return CaptureImageImport::read(m_path);
    } catch (const CaptureImportError &) {
        return QImage();
    }
}
