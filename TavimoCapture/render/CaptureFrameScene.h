#pragma once

#include "CaptureAnnotation.h"
#include "CaptureComposition.h"
#include "CaptureCompositionLayout.h"
#include "CaptureLegendEntry.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QSizeF>

// What one frame of the editor canvas shows: the composition of a capture
// drawn at `scale` into `outputRect` of a view, over a checkerboard.
struct CaptureFrameScene {
    QImage image;
    QSizeF sourceSize;
    QRectF crop;
    // In stacking order, as shown: edited copies and the mark being drawn included.
    QList<CaptureAnnotation> marks;
    CaptureComposition composition;
    QList<CaptureLegendEntry> legend;
    CaptureCompositionLayout layout;
    // In view points.
    QRectF outputRect;
    double scale = 1;
    QSize viewSize;
    double devicePixelRatio = 1;
    QColor background;
};
