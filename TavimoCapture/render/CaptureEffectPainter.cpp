#include "CaptureEffectPainter.h"

#include "CaptureImageEffects.h"
#include "CaptureRenderGeometry.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace CaptureRenderGeometry;

namespace {

// Pixelation blocks line up on this point, counted from the image's bottom-left corner.
constexpr int pixelateGridCentre = 150;
constexpr int lensCopyMargin = 2;

double blurRadius(const CaptureAnnotation &annotation)
{
    return drawnValue(annotation, &CaptureStyle::blurRadius);
}

int pixelateScale(const CaptureAnnotation &annotation)
{
    return int(std::round(drawnValue(annotation, &CaptureStyle::pixelSize)));
}

// How far from its centre a line toward `delta` leaves a shape of this size.
QPointF toOutline(const QPointF &delta, const QSizeF &size, bool oval)
{
    const double tx = delta.x() / std::max(size.width() / 2, 1.0);
    const double ty = delta.y() / std::max(size.height() / 2, 1.0);
    const double k = oval ? std::hypot(tx, ty) : std::max(std::abs(tx), std::abs(ty));
    return delta / std::max(k, 1.0);
}

} // namespace

int CaptureEffectPainter::effectReach(const CaptureAnnotation &annotation)
{
    if (annotation.tool == CaptureTool::blur)
        return CaptureImageEffects::blurReach(blurRadius(annotation));
    return CaptureImageEffects::pixelateReach(pixelateScale(annotation));
}

QRect CaptureEffectPainter::effectTarget(const CaptureAnnotation &annotation, const QRectF &visible)
{
    const QRectF area = annotation.rect() & visible;
    return area.isEmpty() ? QRect() : area.toAlignedRect();
}

QImage CaptureEffectPainter::filtered(const CaptureAnnotation &annotation, const FlatRegion &copy, const QRect &target,
                                      int imageHeight)
{
    const QRect local = target.translated(-copy.origin);
    if (annotation.tool == CaptureTool::blur)
        return CaptureImageEffects::blur(copy.image, local, blurRadius(annotation));
    const QPoint gridOrigin = QPoint(pixelateGridCentre, imageHeight - pixelateGridCentre) - copy.origin;
    return CaptureImageEffects::pixelate(copy.image, local, pixelateScale(annotation), gridOrigin);
}

void CaptureEffectPainter::drawFiltered(QPainter &painter, const CaptureAnnotation &annotation, const QImage &filtered,
                                        const QRect &target)
{
    if (filtered.isNull())
        return;
    painter.save();
    painter.setClipRect(annotation.rect(), Qt::IntersectClip);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1);
    painter.drawImage(target.topLeft(), filtered);
    painter.restore();
}

bool CaptureEffectPainter::hasLens(const CaptureAnnotation &annotation)
{
    return annotation.destination && annotation.destination->width() > 0 && annotation.destination->height() > 0 &&
           annotation.rect().width() > 0 && annotation.rect().height() > 0;
}

void CaptureEffectPainter::drawMagnifier(QPainter &painter, const CaptureAnnotation &annotation, const FlatRegion &copy)
{
    if (!hasLens(annotation))
        return;
    const QRectF source = annotation.rect();
    const QRectF lens = *annotation.destination;
    const bool oval = annotation.style.magnifierOval;
    const double factor = std::min(lens.width() / source.width(), lens.height() / source.height());
    const QSizeF zoomedSize = source.size() * factor;
    const QRectF zoomed(lens.center() - QPointF(zoomedSize.width() / 2, zoomedSize.height() / 2), zoomedSize);
    const QPainterPath lensPath = outlinePath(lens, oval);
    const double width = strokeWidth(annotation);

    painter.save();
    const QPointF delta = lens.center() - source.center();
    painter.setPen(QPen(annotation.color, width));
    painter.drawLine(source.center() + toOutline(delta, source.size(), oval),
                     lens.center() - toOutline(delta, lens.size(), oval));

    painter.save();
    painter.fillPath(lensPath, Qt::white);
    painter.setClipRect(zoomed, Qt::IntersectClip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QBrush content(copy.image);
    content.setTransform(QTransform(factor, 0, 0, factor, zoomed.x() + factor * (copy.origin.x() - source.x()),
                                    zoomed.y() + factor * (copy.origin.y() - source.y())));
    painter.fillPath(lensPath, content);
    painter.restore();

    painter.strokePath(lensPath, QPen(annotation.color, width));
    painter.strokePath(outlinePath(source, oval), QPen(annotation.color, std::max(width / 2, 1.0)));
    painter.restore();
}

QRect CaptureEffectPainter::lensSources(const QList<CaptureAnnotation> &magnifiers, const QSizeF &sourceSize)
{
    QRect region;
    for (const CaptureAnnotation &annotation : magnifiers) {
        if (hasLens(annotation))
            region |= grown(annotation.rect(), lensCopyMargin).toAlignedRect();
    }
    return region & sourceBounds(sourceSize);
}
