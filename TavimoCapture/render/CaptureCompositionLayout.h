#pragma once

#include <QRectF>
#include <QSizeF>

// The geometry of one composed canvas, in canvas pixels (origin top-left, y downward).
struct CaptureCompositionLayout {
    QSizeF canvasSize;
    // Where the cropped image sits, with its corners, shadow and border.
    QRectF imageRect;
    // Where the legend box sits; empty when there is no legend.
    QRectF legendRect;
    // The legend text needs more room than its set size, so the canvas grows past it.
    bool legendOverflow = false;

    bool operator==(const CaptureCompositionLayout &) const = default;
};
