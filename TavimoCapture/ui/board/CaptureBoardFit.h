#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// Where a board is drawn in a view: the board's bounds with a margin of 24
// units, scaled to fill the view less 8 points on each side. Small boards are
// enlarged too.
class CaptureBoardFit {
public:
    static constexpr double margin = 24;
    static constexpr double inset = 8;
    static constexpr double minimumScale = 0.001;

    CaptureBoardFit(const QRectF &bounds, const QSizeF &viewSize);

    double scale() const { return m_scale; }
    // A board rectangle in view points.
    QRectF toView(const QRectF &frame) const;
    // A distance in view points as board units.
    double toBoard(double viewDistance) const { return viewDistance / m_scale; }

private:
    QRectF m_area;
    double m_scale;
};
