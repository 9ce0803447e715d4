#include "CaptureAnnotation.h"

#include <cmath>

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
