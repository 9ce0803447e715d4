#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <optional>

// Exact comparisons: Qt's own operators for points, sizes and rectangles are
// fuzzy, and a cached picture is only the same when the geometry is.
namespace ExactGeometry {

inline bool same(QPointF a, QPointF b)
{
    return a.x() == b.x() && a.y() == b.y();
}

inline bool same(QSizeF a, QSizeF b)
{
    return a.width() == b.width() && a.height() == b.height();
}

inline bool same(const QRectF &a, const QRectF &b)
{
    return same(a.topLeft(), b.topLeft()) && same(a.size(), b.size());
}

template <typename T> bool same(const std::optional<T> &a, const std::optional<T> &b)
{
    return a.has_value() == b.has_value() && (!a || same(*a, *b));
}

} // namespace ExactGeometry
