#include "CaptureFramePainter.h"

#include "CaptureImageEffects.h"
#include "CaptureRenderGeometry.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cmath>

using CaptureRenderGeometry::grown;

namespace {

constexpr double shadowOpacity = 0.35;
constexpr double shadowLift = 0.4;
// Shadows blur a copy reduced so that their deviation stays near this many pixels.
constexpr double shadowReductionSigma = 4;

} // namespace

void CaptureFramePainter::drawBackground(QPainter &painter, const CaptureComposition &composition,
                                         const QSizeF &canvasSize)
{
    const QRectF canvas(QPointF(), canvasSize);
    if (composition.background == CaptureBackground::solid) {
        painter.fillRect(canvas, composition.backgroundColor);
    } else if (composition.background == CaptureBackground::gradient) {
        // A 45-degree axis through the centre whose ends meet the top-left and bottom-right corners.
        const double reach = (canvasSize.width() + canvasSize.height()) / 4;
        QLinearGradient gradient(canvas.center() - QPointF(reach, reach), canvas.center() + QPointF(reach, reach));
        gradient.setColorAt(0, composition.backgroundColor);
        gradient.setColorAt(1, composition.gradientColor);
        painter.fillRect(canvas, gradient);
    }
}

// A blurred alpha mask of the shape, drawn at a reduced size and enlarged.
void CaptureFramePainter::drawShadow(QPainter &painter, const QPainterPath &shape, double shadow)
{
    const double sigma = shadow / 2;
    const int factor = std::max(1, int(std::floor(sigma / shadowReductionSigma)));
    const double margin = std::ceil(3 * sigma) + 2 * factor;
    const QRectF area = grown(shape.boundingRect(), margin);
    QImage mask(int(std::ceil(area.width() / factor)), int(std::ceil(area.height() / factor)), QImage::Format_Alpha8);
    if (!mask.isNull()) {
        mask.fill(0);
        QPainter maskPainter(&mask);
        maskPainter.setRenderHint(QPainter::Antialiasing);
        maskPainter.scale(1.0 / factor, 1.0 / factor);
        maskPainter.translate(-area.topLeft());
        maskPainter.fillPath(shape, Qt::black);
        maskPainter.end();
        CaptureImageEffects::blurMask(mask, sigma / factor);

        painter.save();
        // Only outside the shape: transparent pixels of the image stay clear.
        QPainterPath outside;
        outside.addRect(grown(area, shadowLift * shadow));
        painter.setClipPath(outside.subtracted(shape), Qt::IntersectClip);
        painter.setOpacity(painter.opacity() * shadowOpacity);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(area.x(), area.y() - shadowLift * shadow, double(mask.width()) * factor,
                                 double(mask.height()) * factor),
                          mask);
        painter.restore();
    }
}

void CaptureFramePainter::drawBorder(QPainter &painter, const QRectF &imageRect, double radius, double width,
                                     const QColor &color)
{
    QPainterPath band;
    band.addRoundedRect(imageRect, radius, radius);
    const QRectF inner = imageRect.adjusted(width, width, -width, -width);
    if (inner.width() > 0 && inner.height() > 0) {
        const double innerRadius = std::max(radius - width, 0.0);
        band.addRoundedRect(inner, innerRadius, innerRadius);
    }
    band.setFillRule(Qt::OddEvenFill);
    painter.fillPath(band, color);
}
