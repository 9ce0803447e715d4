#include "CaptureRenderer.h"

#include "CaptureEffectCache.h"
#include "CaptureEffectPainter.h"
#include "CaptureFramePainter.h"
#include "CaptureMarkPainter.h"
#include "CaptureRenderGeometry.h"
#include "CaptureText.h"
#include "LargeImage.h"
#include "PixelLimit.h"

#include <QPainter>
#include <QPolygonF>
#include <QRegion>

#include <algorithm>
#include <cmath>

using namespace CaptureRenderGeometry;
using CaptureEffectPainter::FlatRegion;

namespace {

// Number markers
constexpr double numberDiameterPerFontSize = 1.65;
constexpr double minimumNumberDiameter = 24;
constexpr double teardropLift = 1.25;

// Spotlight
constexpr double spotlightLevel = 0.18;

// Legend
constexpr double minimumLegendCanvasWidth = 240;
constexpr double legendInset = 16;
constexpr double legendGap = 12;
constexpr double legendPadding = 12;
constexpr double legendRowGap = 10;
constexpr double minimumLegendRow = 24;
constexpr double minimumLegendSize = 80;
constexpr double maximumLegendSize = 4096;
constexpr double fallbackLegendSize = 320;
constexpr int legendWidthSearchSteps = 14;
constexpr double legendCornerRadius = 10;
constexpr double legendOpacity = 0.96;

bool isSpotlight(const CaptureAnnotation &annotation)
{
    return (annotation.tool == CaptureTool::rectangle || annotation.tool == CaptureTool::oval) &&
           annotation.style.shapeMode == CaptureShapeMode::spotlight;
}

QList<CaptureAnnotation> selected(const QList<CaptureAnnotation> &annotations, bool (*keep)(const CaptureAnnotation &))
{
    QList<CaptureAnnotation> result;
    std::copy_if(annotations.cbegin(), annotations.cend(), std::back_inserter(result), keep);
    return result;
}

bool isSecure(const CaptureAnnotation &annotation)
{
    return isSecureTool(annotation.tool);
}

bool isMagnifier(const CaptureAnnotation &annotation)
{
    return annotation.tool == CaptureTool::magnifier;
}

bool isNotMagnifier(const CaptureAnnotation &annotation)
{
    return !isMagnifier(annotation);
}

void drawPass(QPainter &painter, const QImage &image, const QSizeF &sourceSize,
              const QList<CaptureAnnotation> &annotations, const QRectF &visible);

// Draws a plain mark unless it lies wholly outside `visible`: a repaint of a
// small area strokes and lays out only the marks it shows.
void drawIfVisible(QPainter &painter, const CaptureAnnotation &annotation, const QSizeF &sourceSize,
                   const QRectF &visible)
{
    if (grown(CaptureRenderer::annotationBounds(annotation), strokeWidth(annotation) + 4).intersects(visible))
        CaptureRenderer::draw(painter, annotation, sourceSize);
}

bool isPlain32Bit(const QImage &image)
{
    return image.format() == QImage::Format_ARGB32_Premultiplied || image.format() == QImage::Format_RGB32;
}

std::optional<FlatRegion> flatten(const QImage &image, const QSizeF &sourceSize,
                                  const QList<CaptureAnnotation> &annotations, const QRect &region)
{
    const QRect bounds = sourceBounds(sourceSize);
    if (region.isEmpty() || !withinPixelLimit(bounds.size()))
        return std::nullopt;
    if (annotations.isEmpty() && isPlain32Bit(image) && image.size() == bounds.size() &&
        QSizeF(bounds.size()) == sourceSize)
        return FlatRegion{image, QPoint()};
    QImage copy(region.size(), QImage::Format_ARGB32_Premultiplied);
    if (copy.isNull())
        return std::nullopt;
    copy.fill(Qt::transparent);
    QPainter painter(&copy);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    painter.translate(-region.topLeft());
    drawPass(painter, image, sourceSize, annotations, QRectF(region));
    return FlatRegion{copy, region.topLeft()};
}

// `flatten`, kept for the next repaints that show the same copy.
std::optional<FlatRegion> keptFlatten(const QImage &image, const QSizeF &sourceSize,
                                      const QList<CaptureAnnotation> &annotations, const QRect &region)
{
    const CaptureEffectCache::Key key{image.cacheKey(), sourceSize, std::nullopt, region, annotations};
    if (const std::optional<QImage> kept = CaptureEffectCache::shared().find(key))
        return FlatRegion{*kept, region.topLeft()};
    std::optional<FlatRegion> copy = flatten(image, sourceSize, annotations, region);
    // A copy that is the capture itself needs no keeping.
    if (copy && copy->image.cacheKey() != image.cacheKey())
        CaptureEffectCache::shared().insert(key, copy->image);
    return copy;
}

// The part of the source the painter can reach: its device and clip, in source pixels.
QRectF visibleSource(const QPainter &painter, const QSizeF &sourceSize)
{
    const QRectF source(QPointF(), sourceSize);
    bool invertible = false;
    const QTransform toSource = painter.worldTransform().inverted(&invertible);
    if (!invertible)
        return source;
    QRectF visible = toSource.mapRect(logicalDeviceRect(*painter.device()));
    if (painter.hasClipping())
        visible &= painter.clipBoundingRect();
    return visible & source;
}

// Effects read a copy holding the image and every secure mark, so no effect
// can bring back what a secure mark hides. Each effect has a copy of just
// what it reads: far apart effects copy little, and an effect shows the same
// whichever other effects are drawn with it.
void drawEffectsAndMarks(QPainter &painter, const QImage &image, const QSizeF &sourceSize,
                         const QList<CaptureAnnotation> &annotations, const QList<CaptureAnnotation> &secureMarks,
                         const QRectF &visible)
{
    const QRect bounds = sourceBounds(sourceSize);
    for (const CaptureAnnotation &annotation : annotations) {
        if (!isEffectTool(annotation.tool)) {
            drawIfVisible(painter, annotation, sourceSize, visible);
            continue;
        }
        const QRect target = CaptureEffectPainter::effectTarget(annotation, visible);
        if (target.isEmpty())
            continue;
        const CaptureEffectCache::Key key{image.cacheKey(), sourceSize, annotation, target, secureMarks};
        std::optional<QImage> filtered = CaptureEffectCache::shared().find(key);
        if (!filtered) {
            const int reach = CaptureEffectPainter::effectReach(annotation);
            const QRect needed = target.adjusted(-reach, -reach, reach, reach) & bounds;
            const std::optional<FlatRegion> copy = flatten(image, sourceSize, secureMarks, needed);
            if (!copy)
                continue;
            filtered = CaptureEffectPainter::filtered(annotation, *copy, target, bounds.height());
            if (filtered->isNull())
                continue;
            CaptureEffectCache::shared().insert(key, *filtered);
        }
        CaptureEffectPainter::drawFiltered(painter, annotation, *filtered, target);
    }
}

void drawSpotlightDimming(QPainter &painter, const QList<CaptureAnnotation> &annotations, const QSizeF &sourceSize)
{
    const auto first = std::find_if(annotations.cbegin(), annotations.cend(), isSpotlight);
    if (first == annotations.cend())
        return;
    const double opacity = drawnValue(*first, &CaptureStyle::spotlightOpacity) / 100;
    QPainterPath holes;
    for (const CaptureAnnotation &annotation : annotations) {
        if (isSpotlight(annotation))
            holes = holes.united(CaptureRenderer::shapePath(annotation));
    }
    QPainterPath dimmed;
    dimmed.addRect(QRectF(QPointF(), sourceSize));
    const float level = float(spotlightLevel);
    painter.save();
    painter.fillPath(dimmed.subtracted(holes), QColor::fromRgbF(level, level, level, float(opacity)));
    painter.restore();
}

void drawSecureMarks(QPainter &painter, const QList<CaptureAnnotation> &annotations, const QSizeF &sourceSize)
{
    for (const CaptureAnnotation &annotation : annotations) {
        if (isSecure(annotation))
            CaptureRenderer::draw(painter, annotation, sourceSize);
    }
}

// Whether drawing inside `area` can show within the painter's clip.
bool reachesClip(const QPainter &painter, const QRectF &area)
{
    if (!painter.hasClipping())
        return true;
    const QTransform &world = painter.worldTransform();
    return world.mapRect(area).adjusted(-2, -2, 2, 2).intersects(world.mapRect(painter.clipBoundingRect()));
}

// Lenses show a copy holding every other mark; secure marks are drawn again
// above them. The copy spans every lens source even when the clip shows only
// some lenses, so a lens shows the same in a partial repaint.
void drawMagnifiers(QPainter &painter, const QImage &image, const QSizeF &sourceSize,
                    const QList<CaptureAnnotation> &magnifiers, const QList<CaptureAnnotation> &annotations,
                    const QRectF &secureClip)
{
    const QRect sources = CaptureEffectPainter::lensSources(magnifiers, sourceSize);
    if (sources.isEmpty() || !withinPixelLimit(sourceBounds(sourceSize).size()))
        return;
    QList<CaptureAnnotation> shown;
    std::copy_if(magnifiers.cbegin(), magnifiers.cend(), std::back_inserter(shown),
                 [&painter](const CaptureAnnotation &magnifier) {
                     return reachesClip(
                         painter, grown(CaptureRenderer::annotationBounds(magnifier), strokeWidth(magnifier) + 1));
                 });
    if (!shown.isEmpty()) {
        const std::optional<FlatRegion> copy =
            keptFlatten(image, sourceSize, selected(annotations, isNotMagnifier), sources);
        if (!copy)
            return;
        for (const CaptureAnnotation &magnifier : shown)
            CaptureEffectPainter::drawMagnifier(painter, magnifier, *copy);
    }
    painter.save();
    painter.setClipRect(secureClip, Qt::IntersectClip);
    drawSecureMarks(painter, annotations, sourceSize);
    painter.restore();
}

void drawPass(QPainter &painter, const QImage &image, const QSizeF &sourceSize,
              const QList<CaptureAnnotation> &annotations, const QRectF &visible)
{
    const QRectF source(QPointF(), sourceSize);
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(source, image);
    painter.restore();

    const QList<CaptureAnnotation> plain = selected(annotations, [](const CaptureAnnotation &annotation) {
        return !isMagnifier(annotation) && !isSecure(annotation);
    });
    drawEffectsAndMarks(painter, image, sourceSize, plain, selected(annotations, isSecure), visible);
    drawSpotlightDimming(painter, plain, sourceSize);
    drawSecureMarks(painter, annotations, sourceSize);

    const QList<CaptureAnnotation> magnifiers = selected(annotations, isMagnifier);
    if (!magnifiers.isEmpty())
        drawMagnifiers(painter, image, sourceSize, magnifiers, annotations, source);
}

double legendSize(double value)
{
    return clampedOr(value, minimumLegendSize, maximumLegendSize, fallbackLegendSize);
}

double legendContentHeight(const QList<double> &rows)
{
    double height = 2 * legendPadding;
    for (double row : rows)
        height += row + legendRowGap;
    return height;
}

QString legendRowText(const CaptureLegendEntry &entry)
{
    return QString::number(entry.number) + QStringLiteral(".  ") + entry.text;
}

QList<double> legendRowsOn(const QList<CaptureLegendEntry> &entries, double width, QPaintDevice *device)
{
    QList<double> rows;
    rows.reserve(entries.size());
    const double textWidth = std::max(width - 2 * legendPadding, 1.0);
    for (const CaptureLegendEntry &entry : entries) {
        const double height = CaptureText::legendRowHeight(legendRowText(entry), textWidth, device);
        rows.append(std::max(std::ceil(height), minimumLegendRow));
    }
    return rows;
}

double fittingLegendWidth(const QList<CaptureLegendEntry> &entries, double available)
{
    double low = minimumLegendSize;
    double high = maximumLegendSize;
    for (int step = 0; step < legendWidthSearchSteps; ++step) {
        const double middle = (low + high) / 2;
        if (legendContentHeight(CaptureRenderer::legendRows(entries, middle)) <= available)
            high = middle;
        else
            low = middle;
    }
    return std::ceil(high);
}

// The image and its marks clipped to the painter's clip, drawn directly.
void drawContentDirectly(QPainter &painter, const QPointF &offset, const QRectF &crop, const QImage &image,
                         const QSizeF &sourceSize, const QList<CaptureAnnotation> &annotations)
{
    painter.save();
    painter.translate(offset);
    drawPass(painter, image, sourceSize, annotations, visibleSource(painter, sourceSize) & crop);
    painter.restore();
}

// The image and its marks inside the rounded shape, through a layer whose edge
// is anti-aliased; only as much of the layer as the clip shows is made. False
// when the layer cannot be made.
bool drawContentLayered(QPainter &painter, const QPainterPath &shape, const QRectF &imageRect, const QPointF &offset,
                        const QRectF &crop, const QImage &image, const QSizeF &sourceSize,
                        const QList<CaptureAnnotation> &annotations)
{
    // The layer holds device pixels, so a zoomed or high-density canvas stays sharp.
    const QTransform toDevice = painter.deviceTransform();
    const double ratio = painter.device()->devicePixelRatio();
    QRectF visible = painter.worldTransform().mapRect(imageRect) & logicalDeviceRect(*painter.device());
    if (painter.hasClipping())
        visible &= painter.worldTransform().mapRect(painter.clipBoundingRect());
    const QRect layerRect = QTransform::fromScale(ratio, ratio).mapRect(visible).toAlignedRect();
    if (layerRect.isEmpty())
        return true;
    QImage layer(layerRect.size(), QImage::Format_ARGB32_Premultiplied);
    if (layer.isNull())
        return false;
    layer.fill(Qt::transparent);
    QPainter layerPainter(&layer);
    layerPainter.setRenderHints(painter.renderHints());
    layerPainter.setTransform(toDevice * QTransform::fromTranslate(-layerRect.x(), -layerRect.y()));
    layerPainter.translate(offset);
    drawPass(layerPainter, image, sourceSize, annotations, visibleSource(layerPainter, sourceSize) & crop);
    layerPainter.end();

    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
    QBrush content(layer);
    content.setTransform(QTransform::fromTranslate(layerRect.x(), layerRect.y()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(content);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPath(toDevice.map(shape));
    painter.restore();
    return true;
}

// True when `rect` lies on whole pixels both as given and on the device, one pixel per unit.
bool isPixelAligned(const QPainter &painter, const QRectF &rect)
{
    const QTransform transform = painter.deviceTransform();
    const QRectF device = transform.mapRect(rect);
    return transform.type() <= QTransform::TxTranslate && integralRect(rect) == rect && integralRect(device) == device;
}

// The squares at the corners of `rect` that a rounding of `radius` cuts into.
QRegion cornerSquares(const QRect &rect, double radius)
{
    const int side = std::min({int(std::ceil(radius)), rect.width(), rect.height()});
    QRegion corners;
    for (const QPoint &corner :
         {rect.topLeft(), QPoint(rect.right() - side + 1, rect.top()), QPoint(rect.left(), rect.bottom() - side + 1),
          QPoint(rect.right() - side + 1, rect.bottom() - side + 1)})
        corners += QRect(corner, QSize(side, side));
    return corners;
}

// The image and its marks inside the rounded image rectangle. On an aligned
// canvas, such as an export, only the corners go through a layer; the rest is
// drawn directly, so no second bitmap of the image's size is made. False when
// a layer cannot be made.
bool drawContent(QPainter &painter, const QPainterPath &shape, double radius, const QRectF &imageRect,
                 const QRectF &crop, const QImage &image, const QSizeF &sourceSize,
                 const QList<CaptureAnnotation> &annotations)
{
    const QPointF offset = imageRect.topLeft() - crop.topLeft();
    if (radius <= 0) {
        painter.save();
        painter.setClipRect(imageRect, Qt::IntersectClip);
        drawContentDirectly(painter, offset, crop, image, sourceSize, annotations);
        painter.restore();
        return true;
    }
    if (!isPixelAligned(painter, imageRect))
        return drawContentLayered(painter, shape, imageRect, offset, crop, image, sourceSize, annotations);

    const QRegion corners = cornerSquares(imageRect.toRect(), radius);
    painter.save();
    painter.setClipRegion(QRegion(imageRect.toRect()) - corners, Qt::IntersectClip);
    drawContentDirectly(painter, offset, crop, image, sourceSize, annotations);
    painter.restore();
    bool drawn = true;
    for (const QRect &corner : corners) {
        painter.save();
        painter.setClipRect(corner, Qt::IntersectClip);
        drawn = drawContentLayered(painter, shape, imageRect, offset, crop, image, sourceSize, annotations) && drawn;
        painter.restore();
    }
    return drawn;
}

bool isCountedMagnifier(const CaptureAnnotation &annotation, const QRectF &crop)
{
    const QRectF source = annotation.rect();
    return isMagnifier(annotation) && isFinite(source) && source.width() > 0 && source.height() > 0 &&
           crop.contains(source);
}

bool compose(QPainter &painter, const QImage &image, const QSizeF &sourceSize, const QRectF &crop,
             const QList<CaptureAnnotation> &annotations, const CaptureComposition &composition,
             const QList<CaptureLegendEntry> &legend, const std::optional<CaptureCompositionLayout> &layoutOverride)
{
    CaptureCompositionLayout layout;
    QRectF imageRect;
    if (layoutOverride) {
        layout = *layoutOverride;
        imageRect = layout.imageRect;
    } else {
        const QRectF extent = CaptureRenderer::contentExtent(crop, annotations);
        layout = CaptureRenderer::baseLayout(extent, composition, legend);
        imageRect = QRectF(layout.imageRect.topLeft() + (crop.topLeft() - extent.topLeft()), crop.size());
    }

    painter.save();
    CaptureFramePainter::drawBackground(painter, composition, layout.canvasSize);
    const double radius = std::max(0.0, std::min(composition.cornerRadius, std::min(crop.width(), crop.height()) / 2));
    QPainterPath shape;
    shape.addRoundedRect(imageRect, radius, radius);
    if (composition.shadow > 0)
        CaptureFramePainter::drawShadow(painter, shape, composition.shadow);

    const QList<CaptureAnnotation> marks = selected(annotations, isNotMagnifier);
    const bool drawn = drawContent(painter, shape, radius, imageRect, crop, image, sourceSize, marks);
    if (composition.borderWidth > 0)
        CaptureFramePainter::drawBorder(painter, imageRect, radius, composition.borderWidth, composition.borderColor);

    QList<CaptureAnnotation> magnifiers;
    for (const CaptureAnnotation &annotation : annotations) {
        if (isCountedMagnifier(annotation, crop))
            magnifiers.append(annotation);
    }
    if (!magnifiers.isEmpty()) {
        painter.save();
        painter.translate(imageRect.topLeft() - crop.topLeft());
        drawMagnifiers(painter, image, sourceSize, magnifiers, marks, crop);
        painter.restore();
    }
    // Rows measured on the painter's device may run a little past the box.
    if (!legend.isEmpty() && reachesClip(painter, layout.legendRect.adjusted(0, 0, 0, layout.legendRect.height())))
        CaptureRenderer::drawLegend(painter, legend, layout.legendRect);
    painter.restore();
    return drawn;
}

// A finished image that is the crop of the capture itself: no marks, no legend
// and a frame that draws nothing. Drawing it would only copy the pixels.
bool isBareCrop(const QImage &image, const QSizeF &sourceSize, const QRectF &crop,
                const QList<CaptureAnnotation> &annotations, const CaptureComposition &composition,
                const QList<CaptureLegendEntry> &legend)
{
    const QRectF whole = integralRect(crop);
    return annotations.isEmpty() && legend.isEmpty() && composition.background == CaptureBackground::transparent &&
           composition.padding <= 0 && composition.shadow <= 0 && composition.cornerRadius <= 0 &&
           composition.borderWidth <= 0 && image.format() == QImage::Format_ARGB32_Premultiplied &&
           image.devicePixelRatio() == 1 && QSizeF(image.size()) == sourceSize && whole == crop &&
           QRectF(image.rect()).contains(crop) && withinPixelLimit(crop.width(), crop.height());
}

// The pixels of `area` without copying them. A crop shares the capture's
// memory read-only: writing to the result copies it first, so the capture
// never changes.
QImage sharedArea(const QImage &image, const QRect &area)
{
    if (area == image.rect())
        return image;
    auto *owner = new QImage(image);
    const uchar *first = owner->constScanLine(area.y()) + qsizetype(area.x()) * 4;
    return QImage(
        first, area.width(), area.height(), owner->bytesPerLine(), owner->format(),
        [](void *shared) { delete static_cast<QImage *>(shared); }, owner);
}

} // namespace

void CaptureRenderer::draw(QPainter &painter, const CaptureAnnotation &annotation,
                           [[maybe_unused]] const QSizeF &sourceSize)
{
    if (!painter.isActive())
        return;
    painter.save();
    painter.setPen(annotation.color);
    painter.setBrush(annotation.color);
    CaptureMarkPainter::draw(painter, annotation);
    painter.restore();
}

QRectF CaptureRenderer::annotationBounds(const CaptureAnnotation &annotation)
{
    const double lineWidth = strokeWidth(annotation);
    switch (annotation.tool) {
    case CaptureTool::arrow: {
        QRectF bounds = annotation.rect();
        if (annotation.style.arrowCurved)
            bounds = spanning(bounds, pointRect(annotation.resolvedControl()));
        return grown(bounds, std::max(4 * lineWidth, 10.0));
    }
    case CaptureTool::freehand:
        return grown(QPolygonF(CaptureMarkPainter::strokePoints(annotation)).boundingRect(), lineWidth);
    case CaptureTool::number:
        return spanning(numberRect(annotation), pointRect(annotation.start));
    case CaptureTool::text: {
        const QSizeF size =
            CaptureText::markSize(annotation.text, textAttributes(annotation), CaptureText::measuringDevice());
        return QRectF(annotation.start, size).adjusted(-5, -4, 5, 4);
    }
    case CaptureTool::magnifier:
        return annotation.destination ? spanning(annotation.rect(), *annotation.destination) : annotation.rect();
    case CaptureTool::select:
    case CaptureTool::rectangle:
    case CaptureTool::oval:
    case CaptureTool::redact:
    case CaptureTool::pixelate:
    case CaptureTool::blur:
    case CaptureTool::imagePixelate:
    case CaptureTool::crop:
        break;
    }
    return grown(annotation.rect(), lineWidth / 2);
}

QPainterPath CaptureRenderer::shapePath(const CaptureAnnotation &annotation)
{
    return outlinePath(annotation.rect(), annotation.tool == CaptureTool::oval);
}

QRectF CaptureRenderer::numberRect(const CaptureAnnotation &annotation)
{
    const double diameter =
        std::max(numberDiameterPerFontSize * drawnValue(annotation, &CaptureStyle::fontSize), minimumNumberDiameter);
    const double lift =
        annotation.style.numberShape == CaptureNumberShape::teardrop ? teardropLift * diameter : diameter / 2;
    return QRectF(annotation.start.x() - diameter / 2, annotation.start.y() - lift, diameter, diameter);
}

QRectF CaptureRenderer::contentExtent(const QRectF &crop, const QList<CaptureAnnotation> &annotations)
{
    if (!isFinite(crop))
        return crop;
    QRectF extent = crop;
    for (const CaptureAnnotation &annotation : annotations) {
        if (!isCountedMagnifier(annotation, crop) || !annotation.destination)
            continue;
        const QRectF lens = *annotation.destination;
        if (isFinite(lens) && lens.width() > 0 && lens.height() > 0)
            extent = spanning(extent, grown(lens, strokeWidth(annotation)));
    }
    return integralRect(extent);
}

CaptureCompositionLayout CaptureRenderer::baseLayout(const QRectF &extent, const CaptureComposition &composition,
                                                     const QList<CaptureLegendEntry> &legend)
{
    const double margin = std::max(composition.padding, 0.0) + 2 * std::max(composition.shadow, 0.0);
    const double width = extent.width() + 2 * margin;
    const double height = extent.height() + 2 * margin;
    CaptureCompositionLayout layout;
    if (legend.isEmpty()) {
        layout.canvasSize = QSizeF(width, height);
        layout.imageRect = QRectF(margin, margin, extent.width(), extent.height());
        return layout;
    }

    const CaptureLegendSettings &settings = composition.legend;
    if (settings.placement == CaptureLegendPlacement::bottom) {
        const double canvasWidth = std::max(width, minimumLegendCanvasWidth);
        const double legendWidth = canvasWidth - 2 * legendInset;
        const double content = legendContentHeight(legendRows(legend, legendWidth));
        const double set = legendSize(settings.height);
        const double legendHeight = settings.fitToContent ? content : std::max(content, set);
        layout.legendRect = QRectF(legendInset, height + legendGap, legendWidth, legendHeight);
        layout.canvasSize = QSizeF(canvasWidth, height + legendGap + legendHeight + legendInset);
        layout.imageRect = QRectF((canvasWidth - extent.width()) / 2, margin, extent.width(), extent.height());
        layout.legendOverflow = set < content && !settings.fitToContent;
        return layout;
    }

    const double legendWidth = settings.fitToContent
                                   ? fittingLegendWidth(legend, std::max(height - 2 * legendInset, minimumLegendSize))
                                   : legendSize(settings.width);
    const double needed = legendContentHeight(legendRows(legend, legendWidth)) + 2 * legendInset;
    const double canvasHeight = std::max(height, needed);
    const bool left = settings.placement == CaptureLegendPlacement::left;
    layout.canvasSize = QSizeF(width + legendWidth + legendInset + legendGap, canvasHeight);
    layout.legendRect =
        QRectF(left ? legendInset : width + legendGap, legendInset, legendWidth, canvasHeight - 2 * legendInset);
    layout.imageRect =
        QRectF(left ? margin + legendWidth + legendInset + legendGap : margin, margin, extent.width(), extent.height());
    layout.legendOverflow = height < needed && !settings.fitToContent;
    return layout;
}

QList<double> CaptureRenderer::legendRows(const QList<CaptureLegendEntry> &entries, double width)
{
    return legendRowsOn(entries, width, CaptureText::measuringDevice());
}

void CaptureRenderer::draw(QPainter &painter, const QImage &image, const QSizeF &sourceSize,
                           const QList<CaptureAnnotation> &annotations)
{
    if (!painter.isActive())
        return;
    drawPass(painter, image, sourceSize, annotations, visibleSource(painter, sourceSize));
}

void CaptureRenderer::drawComposition(QPainter &painter, const QImage &image, const QSizeF &sourceSize,
                                      const QRectF &crop, const QList<CaptureAnnotation> &annotations,
                                      const CaptureComposition &composition, const QList<CaptureLegendEntry> &legend,
                                      const std::optional<CaptureCompositionLayout> &layoutOverride)
{
    if (painter.isActive())
        compose(painter, image, sourceSize, crop, annotations, composition, legend, layoutOverride);
}

void CaptureRenderer::drawLegend(QPainter &painter, const QList<CaptureLegendEntry> &entries, const QRectF &legendRect)
{
    if (!painter.isActive())
        return;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(1, 1, 1, float(legendOpacity)));
    painter.drawRoundedRect(legendRect, legendCornerRadius, legendCornerRadius);
    const QList<double> rows = legendRowsOn(entries, legendRect.width(), painter.device());
    double y = legendRect.top() + legendPadding;
    for (qsizetype index = 0; index < entries.size(); ++index) {
        const QRectF box(legendRect.left() + legendPadding, y, legendRect.width() - 2 * legendPadding, rows[index]);
        CaptureText::drawLegendRow(painter, legendRowText(entries[index]), box);
        y += rows[index] + legendRowGap;
    }
    painter.restore();
}

QImage CaptureRenderer::renderImage(const QImage &image, const QSizeF &sourceSize, const QRectF &crop,
                                    const QList<CaptureAnnotation> &annotations, const CaptureComposition &composition,
                                    const QList<CaptureLegendEntry> &legend)
{
    if (image.isNull() || !isFinite(crop) || crop.width() < 1 || crop.height() < 1)
        throw CaptureRenderFailure(CaptureRenderError::invalidImage);
    if (isBareCrop(image, sourceSize, crop, annotations, composition, legend))
        return sharedArea(image, crop.toRect());
    const QRectF extent = contentExtent(crop, annotations);
    const CaptureCompositionLayout layout = baseLayout(extent, composition, legend);
    const double width = std::ceil(layout.canvasSize.width());
    const double height = std::ceil(layout.canvasSize.height());
    if (!withinPixelLimit(QSizeF(width, height)))
        throw CaptureRenderFailure(CaptureRenderError::imageTooLarge);

    QImage canvas = LargeImage::allocate(QSize(int(width), int(height)), QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        throw CaptureRenderFailure(CaptureRenderError::allocationFailed);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    if (!painter.isActive())
        throw CaptureRenderFailure(CaptureRenderError::allocationFailed);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    if (!compose(painter, image, sourceSize, crop, annotations, composition, legend, std::nullopt))
        throw CaptureRenderFailure(CaptureRenderError::allocationFailed);
    return canvas;
}
