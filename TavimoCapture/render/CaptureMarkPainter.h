#pragma once

#include "CaptureAnnotation.h"

#include <QList>
#include <QPointF>

class QPainter;

// Draws the marks of the plain tools: arrows, shapes, strokes, text, number
// markers, redactions and the secure mosaic.
namespace CaptureMarkPainter {

// Draws one mark; tools without a mark of their own draw nothing.
void draw(QPainter &painter, const CaptureAnnotation &annotation);
// The points of a freehand stroke: `points`, or `start` and `end` when there are none.
QList<QPointF> strokePoints(const CaptureAnnotation &annotation);

} // namespace CaptureMarkPainter
