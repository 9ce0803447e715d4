#pragma once

#include "CaptureAnnotation.h"
#include "CaptureComposition.h"
#include "CaptureCompositionLayout.h"
#include "CaptureLegendEntry.h"
#include "CaptureRenderError.h"

#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QRectF>
#include <QSizeF>

#include <optional>

class QPainter;

// Draws annotations, effects, lenses and the composition frame. Safe to call
// from any thread, each call with its own painter; filtered effects and lens
// copies are kept in CaptureEffectCache for the next calls. Annotation
// geometry is in source-image pixels; the painter's transform maps it to the
// device. Functions that draw do nothing on an inactive painter.
namespace CaptureRenderer {

// Draws one mark of a plain tool. Nothing for select, crop, magnifier and the effects.
void draw(QPainter &painter, const CaptureAnnotation &annotation, const QSizeF &sourceSize);

// The area a mark covers: hit testing, selection handles, the text background.
QRectF annotationBounds(const CaptureAnnotation &annotation);
// The oval inscribed in the annotation rectangle for ovals, else the rectangle.
QPainterPath shapePath(const CaptureAnnotation &annotation);
// The square holding the disc of a number marker.
QRectF numberRect(const CaptureAnnotation &annotation);

// The crop grown to hold every magnifier lens whose source lies in it; whole pixels.
QRectF contentExtent(const QRectF &crop, const QList<CaptureAnnotation> &annotations);
// Canvas, image and legend geometry for a content extent.
CaptureCompositionLayout baseLayout(const QRectF &extent, const CaptureComposition &composition,
                                    const QList<CaptureLegendEntry> &legend);
// The height of each legend row in a legend box `width` wide.
QList<double> legendRows(const QList<CaptureLegendEntry> &entries, double width);

// The annotation pass: the base image, then every mark in stacking order.
void draw(QPainter &painter, const QImage &image, const QSizeF &sourceSize,
          const QList<CaptureAnnotation> &annotations);
// The whole canvas: background, shadow, image with marks, border, lenses and legend.
// `layoutOverride` is used unchanged when given.
void drawComposition(QPainter &painter, const QImage &image, const QSizeF &sourceSize, const QRectF &crop,
                     const QList<CaptureAnnotation> &annotations, const CaptureComposition &composition,
                     const QList<CaptureLegendEntry> &legend,
                     const std::optional<CaptureCompositionLayout> &layoutOverride = std::nullopt);
// The legend box with one row per entry.
void drawLegend(QPainter &painter, const QList<CaptureLegendEntry> &entries, const QRectF &legendRect);

// The export bitmap (Format_ARGB32_Premultiplied, one pixel per source pixel).
// Throws CaptureRenderFailure: invalidImage for a crop under 1 pixel or not
// finite, imageTooLarge above 80,000,000 pixels, allocationFailed when out of memory.
// Without marks, legend or a visible frame the result shares the pixels of
// `image` (a whole-pixel crop of it, read-only) instead of copying them.
QImage renderImage(const QImage &image, const QSizeF &sourceSize, const QRectF &crop,
                   const QList<CaptureAnnotation> &annotations, const CaptureComposition &composition,
                   const QList<CaptureLegendEntry> &legend);

} // namespace CaptureRenderer
