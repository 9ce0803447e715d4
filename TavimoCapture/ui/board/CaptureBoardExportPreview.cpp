#include "CaptureBoardExportPreview.h"

#include <QPainter>

CaptureBoardExportPreview::CaptureBoardExportPreview(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CaptureBoardExportPreview::setImage(const QImage &image)
{
    m_image = image;
    m_scaled = QPixmap();
    update();
}

void CaptureBoardExportPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QColor backdrop = palette().color(QPalette::WindowText);
    backdrop.setAlphaF(0.035f);
    painter.fillRect(rect(), backdrop);
    if (m_image.isNull())
        return;
    const QSizeF fitted = QSizeF(m_image.size()).scaled(QSizeF(size()), Qt::KeepAspectRatio);
    QRectF target(QPointF(), fitted);
    target.moveCenter(QRectF(rect()).center());
    const QPixmap &scaled = scaledImage((fitted * devicePixelRatioF()).toSize());
    painter.drawPixmap(target, scaled, QRectF(scaled.rect()));
}

// Scaled once per size: repaints stay cheap however large the export is.
const QPixmap &CaptureBoardExportPreview::scaledImage(QSize pixels)
{
    pixels = pixels.expandedTo(QSize(1, 1));
    if (m_scaled.size() != pixels)
        m_scaled = QPixmap::fromImage(m_image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return m_scaled;
}
