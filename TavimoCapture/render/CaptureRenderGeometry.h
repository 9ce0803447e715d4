#pragma once

#include "CaptureAnnotation.h"

#include <QPaintDevice>
#include <QPainterPath>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QTextCharFormat>

// Rectangle arithmetic shared by the renderer's painters.
namespace CaptureRenderGeometry {

bool isFinite(const QRectF &rect);
// The smallest whole-pixel rectangle around `rect`.
QRectF integralRect(const QRectF &rect);
// The rectangle spanning both, also when one of them has no area.
QRectF spanning(const QRectF &first, const QRectF &second);
QRectF grown(const QRectF &rect, double amount);
// The 1 x 1 rectangle at `point`.
QRectF pointRect(const QPointF &point);
// `value` held within low...high; `fallback` when it is not a number.
double clampedOr(double value, double low, double high, double fallback);
// A number of the mark's style as its tool draws it: within the tool's range.
double drawnValue(const CaptureAnnotation &annotation, double CaptureStyle::*field);
// The width marks are stroked with: the line width within the tool's range.
double strokeWidth(const CaptureAnnotation &annotation);
// Font and colour of a text mark, its size within the text tool's range.
QTextCharFormat textAttributes(const CaptureAnnotation &annotation);
// The whole pixels covering a source of this size.
QRect sourceBounds(const QSizeF &sourceSize);
// The oval inscribed in `rect`, or the rectangle itself.
QPainterPath outlinePath(const QRectF &rect, bool oval);
// The device's area in a painter's coordinates before its world transform.
QRectF logicalDeviceRect(const QPaintDevice &device);

} // namespace CaptureRenderGeometry
