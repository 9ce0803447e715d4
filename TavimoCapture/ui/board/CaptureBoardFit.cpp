#include "CaptureBoardFit.h"

#include <algorithm>

CaptureBoardFit::CaptureBoardFit(const QRectF &bounds, const QSizeF &viewSize)
    : m_area(bounds.adjusted(-margin, -margin, margin, margin))
{
    const double horizontal = (viewSize.width() - 2 * inset) / std::max(m_area.width(), 1.0);
    const double vertical = (viewSize.height() - 2 * inset) / std::max(m_area.height(), 1.0);
    m_scale = std::max(std::min(horizontal, vertical), minimumScale);
}

QRectF CaptureBoardFit::toView(const QRectF &frame) const
{
    const QPointF origin = (frame.topLeft() - m_area.topLeft()) * m_scale + QPointF(inset, inset);
    return QRectF(origin, frame.size() * m_scale);
}
