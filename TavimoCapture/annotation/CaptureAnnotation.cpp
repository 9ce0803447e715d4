#include "CaptureAnnotation.h"

#include <algorithm>
#include <cmath>

namespace {

// Exact comparisons: Qt's own operators for points and rectangles are fuzzy.
bool same(QPointF a, QPointF b)
{
    return a.x() == b.x() && a.y() == b.y();
}

bool same(const QRectF &a, const QRectF &b)
{
    return same(a.topLeft(), b.topLeft()) && a.width() == b.width() && a.height() == b.height();
}

template <typename T> bool same(const std::optional<T> &a, const std::optional<T> &b)
{
    return a.has_value() == b.has_value() && (!a || same(*a, *b));
}

} // namespace

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

bool CaptureAnnotation::drawsLike(const CaptureAnnotation &other) const
{
    return tool == other.tool && same(start, other.start) && same(end, other.end) && same(control, other.control) &&
           std::equal(points.cbegin(), points.cend(), other.points.cbegin(), other.points.cend(),
                      [](QPointF p, QPointF q) { return same(p, q); }) &&
           same(destination, other.destination) && color == other.color && text == other.text &&
           number == other.number && style == other.style;
}

bool CaptureAnnotation::drawLike(const QList<CaptureAnnotation> &a, const QList<CaptureAnnotation> &b)
{
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                      [](const CaptureAnnotation &x, const CaptureAnnotation &y) { return x.drawsLike(y); });
}
