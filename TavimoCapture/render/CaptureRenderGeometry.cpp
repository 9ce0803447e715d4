#include "CaptureRenderGeometry.h"

#include "CaptureToolTable.h"

#include <algorithm>
#include <cmath>

bool CaptureRenderGeometry::isFinite(const QRectF &rect)
{
    return std::isfinite(rect.x()) && std::isfinite(rect.y()) && std::isfinite(rect.width()) &&
           std::isfinite(rect.height());
}

QRectF CaptureRenderGeometry::integralRect(const QRectF &rect)
{
    const double left = std::floor(rect.left());
    const double top = std::floor(rect.top());
    return QRectF(left, top, std::ceil(rect.right()) - left, std::ceil(rect.bottom()) - top);
}

QRectF CaptureRenderGeometry::spanning(const QRectF &first, const QRectF &second)
{
    const double left = std::min(first.left(), second.left());
    const double top = std::min(first.top(), second.top());
    return QRectF(left, top, std::max(first.right(), second.right()) - left,
                  std::max(first.bottom(), second.bottom()) - top);
}

QRectF CaptureRenderGeometry::grown(const QRectF &rect, double amount)
{
    return rect.adjusted(-amount, -amount, amount, amount);
}

QRectF CaptureRenderGeometry::pointRect(const QPointF &point)
{
    return QRectF(point, QSizeF(1, 1));
}

double CaptureRenderGeometry::clampedOr(double value, double low, double high, double fallback)
{
    return std::isfinite(value) ? std::clamp(value, low, high) : fallback;
}

double CaptureRenderGeometry::drawnValue(const CaptureAnnotation &annotation, double CaptureStyle::*field)
{
    return CaptureToolTable::clamped(annotation.tool, field, annotation.style.*field);
}

double CaptureRenderGeometry::strokeWidth(const CaptureAnnotation &annotation)
{
    return drawnValue(annotation, &CaptureStyle::lineWidth);
}

QTextCharFormat CaptureRenderGeometry::textAttributes(const CaptureAnnotation &annotation)
{
    return CaptureToolTable::clampedStyle(annotation.tool, annotation.style).textAttributes(annotation.color);
}

QRect CaptureRenderGeometry::sourceBounds(const QSizeF &sourceSize)
{
    return QRect(0, 0, int(std::ceil(sourceSize.width())), int(std::ceil(sourceSize.height())));
}

QPainterPath CaptureRenderGeometry::outlinePath(const QRectF &rect, bool oval)
{
    QPainterPath path;
    if (oval)
        path.addEllipse(rect);
    else
        path.addRect(rect);
    return path;
}

QRectF CaptureRenderGeometry::logicalDeviceRect(const QPaintDevice &device)
{
    // Images and pixmaps report their size in device pixels, windows in logical ones.
    const bool sizedInPixels = device.devType() == QInternal::Image || device.devType() == QInternal::Pixmap;
    const double ratio = sizedInPixels ? device.devicePixelRatio() : 1;
    return QRectF(0, 0, device.width() / ratio, device.height() / ratio);
}
