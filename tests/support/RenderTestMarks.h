#pragma once

#include "CaptureAnnotation.h"

#include <QColor>
#include <QImage>

// A premultiplied image of one colour.
inline QImage filledImage(int width, int height, const QColor &color)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

// A blue mark of `tool` from `start` to `end`.
inline CaptureAnnotation mark(CaptureTool tool, const QPointF &start, const QPointF &end = {},
                              const CaptureStyle &style = {})
{
    CaptureAnnotation annotation;
    annotation.tool = tool;
    annotation.start = start;
    annotation.end = end;
    annotation.color = QColor(0, 0, 255);
    annotation.style = style;
    return annotation;
}

// A square magnifier showing `source` in `lens`.
inline CaptureAnnotation lens(const QRectF &source, const QRectF &lens, double lineWidth)
{
    CaptureAnnotation annotation = mark(CaptureTool::magnifier, source.topLeft(), source.bottomRight(),
                                        {.magnifierOval = false, .lineWidth = lineWidth});
    annotation.destination = lens;
    return annotation;
}
