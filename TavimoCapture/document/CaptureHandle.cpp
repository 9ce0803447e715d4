#include "CaptureHandle.h"

#include "CaptureDocument.h"
#include "CaptureRenderer.h"

#include <algorithm>
#include <cmath>

namespace {

QPointF corner(const QRectF &rect, int index)
{
    switch (index & 3) {
    case 0:
        return rect.topLeft();
    case 1:
        return QPointF(rect.right(), rect.top());
    case 2:
        return rect.bottomRight();
    default:
        return QPointF(rect.left(), rect.bottom());
    }
}

// A rectangle of |w0|·ratio by |h0|·ratio anchored at `anchor`, growing toward `toward`.
QRectF aspectRect(QPointF anchor, QPointF toward, double w0, double h0, double ratio)
{
    const double width = std::abs(w0) * ratio;
    const double height = std::abs(h0) * ratio;
    const double x = toward.x() >= anchor.x() ? anchor.x() : anchor.x() - width;
    const double y = toward.y() >= anchor.y() ? anchor.y() : anchor.y() - height;
    return QRectF(x, y, width, height);
}

// How far `point` pulls away from `anchor`, in multiples of the size w0 × h0.
double aspectRatio(QPointF anchor, QPointF point, double w0, double h0)
{
    return std::max(std::abs((point.x() - anchor.x()) / w0), std::abs((point.y() - anchor.y()) / h0));
}

bool isUsable(const QRectF &rect)
{
    return rect.width() >= 2 && rect.height() >= 2;
}

} // namespace

QList<std::pair<CaptureHandle, QPointF>> CaptureHandle::handles(const CaptureAnnotation &a)
{
    QList<std::pair<CaptureHandle, QPointF>> result;
    switch (a.tool) {
    case CaptureTool::rectangle:
    case CaptureTool::oval:
    case CaptureTool::magnifier:
        for (int i = 0; i < 4; ++i)
            result.append({CaptureHandle{Kind::sourceCorner, i}, corner(a.rect(), i)});
        if (a.tool == CaptureTool::magnifier && a.destination)
            for (int i = 0; i < 4; ++i)
                result.append({CaptureHandle{Kind::destinationCorner, i}, corner(*a.destination, i)});
        break;
    case CaptureTool::arrow:
        result.append({CaptureHandle{Kind::start, 0}, a.start});
        result.append({CaptureHandle{Kind::end, 0}, a.end});
        if (a.style.arrowCurved)
            result.append({CaptureHandle{Kind::control, 0}, a.resolvedControl()});
        break;
    default:
        break;
    }
    return result;
}

QRectF CaptureHandle::selectionBounds(const CaptureAnnotation &annotation)
{
    if (annotation.tool != CaptureTool::magnifier)
        return CaptureRenderer::annotationBounds(annotation);
    return annotation.destination ? annotation.rect().united(*annotation.destination) : annotation.rect();
}

CaptureAnnotation CaptureHandle::dragged(const CaptureAnnotation &original, QPointF press, QPointF point,
                                         const CaptureDocument &document) const
{
    CaptureAnnotation a = original;
    switch (kind) {
    case Kind::sourceCorner:
        if (const QRectF rect = resizedSource(original, point, document.cropRect()); isUsable(rect)) {
            a.start = rect.topLeft();
            a.end = rect.bottomRight();
        }
        break;
    case Kind::destinationCorner: {
        const double w0 = original.end.x() - original.start.x();
        const double h0 = original.end.y() - original.start.y();
        if (!original.destination || w0 == 0 || h0 == 0)
            break;
        const QPointF anchor = corner(*original.destination, index + 2);
        if (const QRectF rect = aspectRect(anchor, point, w0, h0, aspectRatio(anchor, point, w0, h0)); isUsable(rect))
            a.destination = rect;
        break;
    }
    case Kind::start:
        a.start = point;
        break;
    case Kind::end:
        a.end = point;
        break;
    case Kind::control:
        a.control = point;
        break;
    case Kind::move:
        a = moved(original, point - press, document);
        break;
    case Kind::destination:
        if (original.destination)
            a.destination = original.destination->translated(point - press);
        break;
    }
    return a;
}

// The source rectangle spanning from the corner opposite the handle to
// `point`; a magnifier's keeps its aspect and stops at the crop edge.
QRectF CaptureHandle::resizedSource(const CaptureAnnotation &original, QPointF point, const QRectF &crop) const
{
    const QPointF anchor = corner(original.rect(), index + 2);
    if (original.tool != CaptureTool::magnifier)
        return QRectF(anchor, point).normalized();
    const double w0 = original.end.x() - original.start.x();
    const double h0 = original.end.y() - original.start.y();
    if (w0 == 0 || h0 == 0)
        return QRectF();
    const double roomX = point.x() >= anchor.x() ? crop.right() - anchor.x() : anchor.x() - crop.left();
    const double roomY = point.y() >= anchor.y() ? crop.bottom() - anchor.y() : anchor.y() - crop.top();
    const double ratio = std::min(
        {aspectRatio(anchor, point, w0, h0), std::max(0.0, roomX) / std::abs(w0), std::max(0.0, roomY) / std::abs(h0)});
    return aspectRect(anchor, point, w0, h0, ratio);
}

// Every point of the mark moves by `delta`, limited so that all of them stay
// inside the crop. A magnifier's lens stays where it is.
CaptureAnnotation CaptureHandle::moved(const CaptureAnnotation &original, QPointF delta,
                                       const CaptureDocument &document)
{
    QList<QPointF> points{original.start, original.end};
    points.append(original.points);
    if (original.control)
        points.append(*original.control);
    const auto [minX, maxX] =
        std::minmax_element(points.cbegin(), points.cend(), [](QPointF a, QPointF b) { return a.x() < b.x(); });
    const auto [minY, maxY] =
        std::minmax_element(points.cbegin(), points.cend(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    const QRectF crop = document.cropRect();
    const QPointF limited(std::min(std::max(delta.x(), crop.left() - minX->x()), crop.right() - maxX->x()),
                          std::min(std::max(delta.y(), crop.top() - minY->y()), crop.bottom() - maxY->y()));
    const auto move = [&](QPointF point) {
        return document.clampedPoint(point + limited);
    };
    CaptureAnnotation a = original;
    a.start = move(original.start);
    a.end = move(original.end);
    std::transform(original.points.cbegin(), original.points.cend(), a.points.begin(), move);
    if (original.control)
        a.control = move(*original.control);
    return a;
}
