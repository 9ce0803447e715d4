#pragma once

#include "CaptureAnnotation.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QSizeF>

class QPainter;

// Draws blur and pixelation marks and magnifier lenses from a flattened copy of the capture.
namespace CaptureEffectPainter {

// A region of the capture flattened with some of its marks; pixel (0, 0) is source pixel `origin`.
struct FlatRegion {
    QImage image;
    QPoint origin;
};

// The whole pixels of an effect mark that can show within `visible`.
QRect effectTarget(const CaptureAnnotation &annotation, const QRectF &visible);
// How far beyond its target an effect reads its copy.
int effectReach(const CaptureAnnotation &annotation);
// The effect's pixels over `target`. `copy` covers the target grown by its reach.
QImage filtered(const CaptureAnnotation &annotation, const FlatRegion &copy, const QRect &target, int imageHeight);
// Draws `filtered` pixels over `target`, clipped to the effect's rectangle.
void drawFiltered(QPainter &painter, const CaptureAnnotation &annotation, const QImage &filtered, const QRect &target);

// The magnifier has a source area and a lens with room in both directions.
bool hasLens(const CaptureAnnotation &annotation);
// The source pixels the lenses show, with a margin for smooth scaling.
QRect lensSources(const QList<CaptureAnnotation> &magnifiers, const QSizeF &sourceSize);
// Connector, zoomed content, lens and source outlines. `copy` covers the lens's source area.
void drawMagnifier(QPainter &painter, const CaptureAnnotation &annotation, const FlatRegion &copy);

} // namespace CaptureEffectPainter
