#include "CaptureAnnotation.h"

#include "ExactGeometry.h"

#include <algorithm>
#include <cmath>

using ExactGeometry::same;

QRectF CaptureAnnotation::rect() const
{
    return QRectF(std::min(start.x(), end.x()), std::min(start.y(), end.y()), std::abs(end.x() - start.x()),
                  std::abs(end.y() - start.y()));
}

QPointF CaptureAnnotation::resolvedControl() const
{
    if (control)
        return *control;
    return QPointF((start.x() + end.x()) / 2, (start.y() + end.y()) / 2 - defaultControlLift);
}

bool CaptureAnnotation::hasGeometryOf(const CaptureAnnotation &other) const
{
    return same(start, other.start) && same(end, other.end) && same(control, other.control) &&
           std::equal(points.cbegin(), points.cend(), other.points.cbegin(), other.points.cend(),
                      [](QPointF p, QPointF q) { return same(p, q); }) &&
           same(destination, other.destination);
}

bool CaptureAnnotation::drawsLike(const CaptureAnnotation &other) const
{
    return tool == other.tool && hasGeometryOf(other) && color == other.color && text == other.text &&
           number == other.number && style == other.style;
}

bool CaptureAnnotation::drawLike(const QList<CaptureAnnotation> &a, const QList<CaptureAnnotation> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                      [](const CaptureAnnotation &x, const CaptureAnnotation &y) { return x.drawsLike(y); });
}
