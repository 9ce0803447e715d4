#pragma once

#include "CaptureComposition.h"

#include <QPainterPath>
#include <QRectF>
#include <QSizeF>

class QPainter;

// Draws the frame of a composition around the image: background, shadow and border.
namespace CaptureFramePainter {

// Transparent, a solid colour, or a 45-degree gradient over the canvas.
void drawBackground(QPainter &painter, const CaptureComposition &composition, const QSizeF &canvasSize);
// The shape's blurred shadow lifted toward the top edge, outside the shape only.
void drawShadow(QPainter &painter, const QPainterPath &shape, double shadow);
// The band of `width` inside the rounded image rectangle's edge, following its corners.
void drawBorder(QPainter &painter, const QRectF &imageRect, double radius, double width, const QColor &color);

} // namespace CaptureFramePainter
