#include "PortalImageGrabber.h"

#include "CaptureDecoding.h"
#include "CaptureFailure.h"
#include "PixelLimit.h"

#include <QBuffer>
#include <QImageReader>

#include <utility>

PortalImageGrabber::PortalImageGrabber(QByteArray encoded, QList<Monitor> monitors)
    : m_encoded(std::move(encoded)), m_monitors(std::move(monitors))
{
}

QList<ScreenGrabber::Monitor> PortalImageGrabber::monitors() const
{
    if (!m_monitors.isEmpty())
        return m_monitors;
    decode();
    if (m_picture.isNull())
        return {};
    return {Monitor{0, m_picture.rect(), true, {}}};
}

QImage PortalImageGrabber::grab(const QRect &area) const
{
    decode();
    if (m_picture.isNull() || !m_picture.rect().contains(area))
        return QImage();
    if (area == m_picture.rect())
        return m_picture;
    return m_picture.copy(area);
}

void PortalImageGrabber::decode() const
{
    if (std::exchange(m_decoded, true))
        return;
    QBuffer buffer;
    buffer.setData(m_encoded);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && !withinPixelLimit(size))
        throw CaptureError(CaptureFailure::displaysTooLarge);
    m_picture = CaptureDecoding::read(reader).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
