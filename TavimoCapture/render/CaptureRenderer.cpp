#include "CaptureRenderer.h"

#include "CaptureImageEffects.h"
#include "CaptureText.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Arrows
constexpr double dashLength = 3;
constexpr double dashGap = 2;
constexpr double dotLength = 0.1;
constexpr double headLengthPerWidth = 5;
constexpr double headLengthPerDistance = 0.45;
constexpr double barbAngle = std::numbers::pi / 6;

// Highlighter, number markers, text
constexpr double minimumHighlighterOpacity = 0.05;
constexpr double maximumHighlighterOpacity = 0.8;
constexpr double numberDiameterPerFontSize = 1.65;
constexpr double minimumNumberDiameter = 24;
constexpr double teardropLift = 1.25;
constexpr double teardropShoulder = 0.12;
constexpr double numberFontPerFontSize = 0.85;
constexpr double minimumNumberFontSize = 12;
constexpr double textBackgroundRadius = 4;

// Secure mosaic
constexpr double mosaicBaseLevel = 0.42;
constexpr double mosaicFirstLevel = 0.28;
constexpr double mosaicLevelStep = 0.055;
constexpr int mosaicLevels = 9;
constexpr int minimumMosaicBlock = 2;
constexpr int maximumMosaicBlock = 256;

// Effects and lenses
constexpr double minimumBlurRadius = 1;
constexpr double maximumBlurRadius = 80;
constexpr int minimumPixelateScale = 2;
constexpr int maximumPixelateScale = 128;
// Pixelation blocks line up on this point, counted from the image's bottom-left corner.
constexpr int pixelateGridCentre = 150;
constexpr int lensCopyMargin = 2;

// Spotlight
constexpr double spotlightLevel = 0.18;
constexpr double minimumSpotlightOpacity = 0.05;
constexpr double maximumSpotlightOpacity = 0.95;

// Composition
constexpr double shadowOpacity = 0.35;
constexpr double shadowLift = 0.4;
constexpr double shadowReductionSigma = 4;
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

bool isFinite(const QRectF &rect)
{
    return std::isfinite(rect.x()) && std::isfinite(rect.y()) && std::isfinite(rect.width()) &&
           std::isfinite(rect.height());
}

// The smallest whole-pixel rectangle around `rect`.
QRectF integralRect(const QRectF &rect)
{
    const double left = std::floor(rect.left());
    const double top = std::floor(rect.top());
    return QRectF(left, top, std::ceil(rect.right()) - left, std::ceil(rect.bottom()) - top);
}

// The rectangle spanning both, also when one of them has no area.
QRectF spanning(const QRectF &first, const QRectF &second)
{
    const double left = std::min(first.left(), second.left());
    const double top = std::min(first.top(), second.top());
    return QRectF(left, top, std::max(first.right(), second.right()) - left,
                  std::max(first.bottom(), second.bottom()) - top);
}

QRectF grown(const QRectF &rect, double amount)
{
    return rect.adjusted(-amount, -amount, amount, amount);
}

QRectF pointRect(const QPointF &point)
{
    return QRectF(point, QSizeF(1, 1));
}

double clampedOr(double value, double low, double high, double fallback)
{
    return std::isfinite(value) ? std::clamp(value, low, high) : fallback;
}

double strokeWidth(const CaptureAnnotation &annotation)
{
    return annotation.style.lineWidth >= 1 ? annotation.style.lineWidth : 1;
}

QRect sourceBounds(const QSizeF &sourceSize)
{
    return QRect(0, 0, int(std::ceil(sourceSize.width())), int(std::ceil(sourceSize.height())));
}

bool withinPixelLimit(double width, double height)
{
    return std::isfinite(width) && std::isfinite(height) && width >= 1 && height >= 1 &&
           width * height <= double(CaptureRenderer::maximumPixelCount);
}

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

// ---- Marks --------------------------------------------------------------

void drawArrowHead(QPainter &painter, const QPointF &tip, const QPointF &from, double length)
{
    const double angle = std::atan2(tip.y() - from.y(), tip.x() - from.x());
    const QPointF first = tip - length * QPointF(std::cos(angle - barbAngle), std::sin(angle - barbAngle));
    const QPointF second = tip - length * QPointF(std::cos(angle + barbAngle), std::sin(angle + barbAngle));
    QPainterPath head(first);
    head.lineTo(tip);
    head.lineTo(second);
    painter.drawPath(head);
}

void drawArrow(QPainter &painter, const CaptureAnnotation &annotation)
{
    const double width = strokeWidth(annotation);
    const CaptureStyle &style = annotation.style;
    QPen pen(annotation.color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (style.arrowDash == CaptureArrowDash::dashed)
        pen.setDashPattern({dashLength, dashGap});
    else if (style.arrowDash == CaptureArrowDash::dotted)
        pen.setDashPattern({dotLength / width, dashGap});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);

    const QPointF start = annotation.start;
    const QPointF end = annotation.end;
    const QPointF control = annotation.resolvedControl();
    QPainterPath shaft(start);
    if (style.arrowCurved)
        shaft.cubicTo(start + 2.0 / 3.0 * (control - start), end + 2.0 / 3.0 * (control - end), end);
    else
        shaft.lineTo(end);
    painter.drawPath(shaft);

    if (style.arrowHead == CaptureArrowHead::none)
        return;
    const QPointF span = end - start;
    const double length = std::min(headLengthPerWidth * width, headLengthPerDistance * std::hypot(span.x(), span.y()));
    painter.setPen(QPen(annotation.color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    drawArrowHead(painter, end, style.arrowCurved ? control : start, length);
    if (style.arrowHead == CaptureArrowHead::both)
        drawArrowHead(painter, start, style.arrowCurved ? control : end, length);
}

void drawShape(QPainter &painter, const CaptureAnnotation &annotation)
{
    const QPainterPath path = CaptureRenderer::shapePath(annotation);
    if (annotation.style.shapeMode == CaptureShapeMode::outline)
        painter.strokePath(
            path, QPen(annotation.color, strokeWidth(annotation), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    else if (annotation.style.shapeMode == CaptureShapeMode::fill)
        painter.fillPath(path, annotation.color);
}

QList<QPointF> strokePoints(const CaptureAnnotation &annotation)
{
    if (annotation.points.isEmpty())
        return {annotation.start, annotation.end};
    if (annotation.points.size() == 1)
        return {annotation.points.first(), annotation.points.first()};
    return annotation.points;
}

void drawFreehand(QPainter &painter, const CaptureAnnotation &annotation)
{
    const QList<QPointF> points = strokePoints(annotation);
    QPainterPath path(points.first());
    for (qsizetype index = 1; index < points.size(); ++index)
        path.lineTo(points[index]);

    // Filling the stroke's outline covers every pixel once, as one transparency
    // layer would: a highlighter does not darken where it crosses itself.
    QPainterPathStroker stroker;
    stroker.setWidth(strokeWidth(annotation));
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath outline = stroker.createStroke(path);
    outline.setFillRule(Qt::WindingFill);

    if (annotation.style.brush == CaptureBrush::highlighter)
        painter.setOpacity(painter.opacity() * clampedOr(annotation.style.brushOpacity / 100, minimumHighlighterOpacity,
                                                         maximumHighlighterOpacity, maximumHighlighterOpacity));
    painter.fillPath(outline, annotation.color);
}

void drawText(QPainter &painter, const CaptureAnnotation &annotation)
{
    if (annotation.style.textBackgroundEnabled) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(annotation.style.textBackgroundColor);
        painter.drawRoundedRect(CaptureRenderer::annotationBounds(annotation), textBackgroundRadius,
                                textBackgroundRadius);
    }
    CaptureText::drawMark(painter, annotation.text, annotation.style.textAttributes(annotation.color),
                          annotation.start);
}

QFont numberFont(const CaptureAnnotation &annotation)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setBold(true);
    font.setPixelSize(qRound(std::max(numberFontPerFontSize * annotation.style.fontSize, minimumNumberFontSize)));
    return font;
}

void drawNumber(QPainter &painter, const CaptureAnnotation &annotation)
{
    const QRectF disc = CaptureRenderer::numberRect(annotation);
    painter.setPen(Qt::NoPen);
    painter.setBrush(annotation.color);
    if (annotation.style.numberShape == CaptureNumberShape::teardrop) {
        const QPolygonF tip{QPointF(disc.left() + teardropShoulder * disc.width(), disc.center().y()), annotation.start,
                            QPointF(disc.right() - teardropShoulder * disc.width(), disc.center().y())};
        painter.drawPolygon(tip);
    }
    painter.drawEllipse(disc);

    const QString label = QString::number(annotation.number);
    const QFont font = numberFont(annotation);
    const QFontMetricsF metrics(font, painter.device());
    const double width = metrics.horizontalAdvance(label);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(
        QPointF(disc.center().x() - width / 2, disc.center().y() - metrics.height() / 2 + metrics.ascent()), label);
}

void drawRedaction(QPainter &painter, const CaptureAnnotation &annotation)
{
    const QRectF area = annotation.rect();
    if (area.isEmpty())
        return;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(integralRect(area), Qt::black);
}

int mosaicBlockSize(double pixelSize)
{
    if (!std::isfinite(pixelSize))
        return int(CaptureStyle().pixelSize);
    return int(std::clamp(std::round(pixelSize), double(minimumMosaicBlock), double(maximumMosaicBlock)));
}

// SplitMix64's output function over the block's column and row.
QRgb mosaicColor(quint64 column, quint64 row)
{
    quint64 z = (column * 0xBF58476D1CE4E5B9ULL) ^ (row * 0x9E3779B97F4A7C15ULL) ^ 0x94D049BB133111EBULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    const double level = mosaicFirstLevel + mosaicLevelStep * double(z % mosaicLevels);
    return QColor::fromRgbF(float(level), float(level), float(level)).rgba();
}

void drawMosaic(QPainter &painter, const CaptureAnnotation &annotation)
{
    const QRectF area = annotation.rect();
    if (area.isEmpty())
        return;
    const QRectF covered = integralRect(area);
    const int block = mosaicBlockSize(annotation.style.pixelSize);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setClipRect(covered, Qt::IntersectClip);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const float base = float(mosaicBaseLevel);
    painter.fillRect(covered, QColor::fromRgbF(base, base, base));

    // One pixel per block, enlarged without smoothing.
    const int columns = int(std::ceil(covered.width() / block));
    const int rows = int(std::ceil(covered.height() / block));
    QImage blocks(columns, rows, QImage::Format_ARGB32_Premultiplied);
    if (blocks.isNull())
        return;
    for (int row = 0; row < rows; ++row) {
        auto *line = reinterpret_cast<QRgb *>(blocks.scanLine(row));
        for (int column = 0; column < columns; ++column)
            line[column] = mosaicColor(quint64(column), quint64(row));
    }
    painter.drawImage(QRectF(covered.topLeft(), QSizeF(double(columns) * block, double(rows) * block)), blocks);
}

// ---- Flattened copies, effects and lenses ------------------------------------

// A region of the capture flattened with some of its marks; pixel (0, 0) is source pixel `origin`.
struct FlatRegion {
    QImage image;
    QPoint origin;
};

void drawPass(QPainter &painter, const QImage &image, const QSizeF &sourceSize,
              const QList<CaptureAnnotation> &annotations, const QRectF &visible);

bool isPlain32Bit(const QImage &image)
{
    return image.format() == QImage::Format_ARGB32_Premultiplied || image.format() == QImage::Format_RGB32;
}

std::optional<FlatRegion> flatten(const QImage &image, const QSizeF &sourceSize,
                                  const QList<CaptureAnnotation> &annotations, const QRect &region)
{
    const QRect bounds = sourceBounds(sourceSize);
    if (region.isEmpty() || !withinPixelLimit(bounds.width(), bounds.height()))
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

// The part of the source the painter can reach: its device and clip, in source pixels.
QRectF visibleSource(const QPainter &painter, const QSizeF &sourceSize)
{
    const QRectF source(QPointF(), sourceSize);
    bool invertible = false;
    const QTransform toSource = painter.worldTransform().inverted(&invertible);
    if (!invertible)
        return source;
    const QPaintDevice *device = painter.device();
    QRectF visible = toSource.mapRect(QRectF(0, 0, device->width(), device->height()));
    if (painter.hasClipping())
        visible &= painter.clipBoundingRect();
    return visible & source;
}

double blurRadius(const CaptureAnnotation &annotation)
{
    return clampedOr(annotation.style.blurRadius, minimumBlurRadius, maximumBlurRadius, CaptureStyle().blurRadius);
}

int pixelateScale(const CaptureAnnotation &annotation)
{
    return int(std::round(
        clampedOr(annotation.style.pixelSize, minimumPixelateScale, maximumPixelateScale, CaptureStyle().pixelSize)));
}

int effectReach(const CaptureAnnotation &annotation)
{
    if (annotation.tool == CaptureTool::blur)
        return CaptureImageEffects::blurReach(blurRadius(annotation));
    return CaptureImageEffects::pixelateReach(pixelateScale(annotation));
}

QRect effectTarget(const CaptureAnnotation &annotation, const QRectF &visible)
{
    const QRectF area = annotation.rect() & visible;
    return area.isEmpty() ? QRect() : area.toAlignedRect();
}

void drawEffect(QPainter &painter, const CaptureAnnotation &annotation, const FlatRegion &copy, const QRect &target,
                int imageHeight)
{
    const QRect local = target.translated(-copy.origin);
    QImage filtered;
    if (annotation.tool == CaptureTool::blur) {
        filtered = CaptureImageEffects::blur(copy.image, local, blurRadius(annotation));
    } else {
        const QPoint gridOrigin = QPoint(pixelateGridCentre, imageHeight - pixelateGridCentre) - copy.origin;
        filtered = CaptureImageEffects::pixelate(copy.image, local, pixelateScale(annotation), gridOrigin);
    }
    if (filtered.isNull())
        return;
    painter.save();
    painter.setClipRect(annotation.rect(), Qt::IntersectClip);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setOpacity(1);
    painter.drawImage(target.topLeft(), filtered);
    painter.restore();
}

// Effects read one shared copy holding the image and every secure mark, so no
// effect can bring back what a secure mark hides.
void drawEffectsAndMarks(QPainter &painter, const QImage &image, const QSizeF &sourceSize,
                         const QList<CaptureAnnotation> &annotations, const QList<CaptureAnnotation> &secureMarks,
                         const QRectF &visible)
{
    const QRect bounds = sourceBounds(sourceSize);
    QRect needed;
    for (const CaptureAnnotation &annotation : annotations) {
        const QRect target = effectTarget(annotation, visible);
        if (isEffectTool(annotation.tool) && !target.isEmpty()) {
            const int reach = effectReach(annotation);
            needed |= target.adjusted(-reach, -reach, reach, reach) & bounds;
        }
    }
    std::optional<FlatRegion> copy;
    if (!needed.isEmpty())
        copy = flatten(image, sourceSize, secureMarks, needed);

    for (const CaptureAnnotation &annotation : annotations) {
        if (!isEffectTool(annotation.tool)) {
            CaptureRenderer::draw(painter, annotation, sourceSize);
            continue;
        }
        const QRect target = effectTarget(annotation, visible);
        if (copy && !target.isEmpty())
            drawEffect(painter, annotation, *copy, target, bounds.height());
    }
}

void drawSpotlightDimming(QPainter &painter, const QList<CaptureAnnotation> &annotations, const QSizeF &sourceSize)
{
    const auto first = std::find_if(annotations.cbegin(), annotations.cend(), isSpotlight);
    if (first == annotations.cend())
        return;
    const double opacity = clampedOr(first->style.spotlightOpacity / 100, minimumSpotlightOpacity,
                                     maximumSpotlightOpacity, CaptureStyle().spotlightOpacity / 100);
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

QPainterPath outlinePath(const QRectF &rect, bool oval)
{
    QPainterPath path;
    if (oval)
        path.addEllipse(rect);
    else
        path.addRect(rect);
    return path;
}

// How far from its centre a line toward `delta` leaves a shape of this size.
QPointF toOutline(const QPointF &delta, const QSizeF &size, bool oval)
{
    const double tx = delta.x() / std::max(size.width() / 2, 1.0);
    const double ty = delta.y() / std::max(size.height() / 2, 1.0);
    const double k = oval ? std::hypot(tx, ty) : std::max(std::abs(tx), std::abs(ty));
    return delta / std::max(k, 1.0);
}

bool hasLens(const CaptureAnnotation &annotation)
{
    return annotation.destination && annotation.destination->width() > 0 && annotation.destination->height() > 0 &&
           annotation.rect().width() > 0 && annotation.rect().height() > 0;
}

void drawMagnifier(QPainter &painter, const CaptureAnnotation &annotation, const FlatRegion &copy)
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
    painter.strokePath(outlinePath(source, oval),
                       QPen(annotation.color, std::max(annotation.style.lineWidth / 2, 1.0)));
    painter.restore();
}

QRect lensSources(const QList<CaptureAnnotation> &magnifiers, const QSizeF &sourceSize)
{
    QRect region;
    for (const CaptureAnnotation &annotation : magnifiers) {
        if (hasLens(annotation))
            region |= grown(annotation.rect(), lensCopyMargin).toAlignedRect();
    }
    return region & sourceBounds(sourceSize);
}

// Lenses show a copy holding every other mark; secure marks are drawn again above them.
void drawMagnifiers(QPainter &painter, const QImage &image, const QSizeF &sourceSize,
                    const QList<CaptureAnnotation> &magnifiers, const QList<CaptureAnnotation> &annotations,
                    const QRectF &secureClip)
{
    const std::optional<FlatRegion> copy =
        flatten(image, sourceSize, selected(annotations, isNotMagnifier), lensSources(magnifiers, sourceSize));
    if (!copy)
        return;
    for (const CaptureAnnotation &magnifier : magnifiers)
        drawMagnifier(painter, magnifier, *copy);
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

// ---- Composition --------------------------------------------------------

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

void drawBackground(QPainter &painter, const CaptureComposition &composition, const QSizeF &canvasSize)
{
    const QRectF canvas(QPointF(), canvasSize);
    if (composition.background == CaptureBackground::solid) {
        painter.fillRect(canvas, composition.backgroundColor);
    } else if (composition.background == CaptureBackground::gradient) {
        // A 45-degree axis through the centre whose ends meet the top-left and bottom-right corners.
        const double reach = (canvasSize.width() + canvasSize.height()) / 4;
        QLinearGradient gradient(canvas.center() - QPointF(reach, reach), canvas.center() + QPointF(reach, reach));
        gradient.setColorAt(0, composition.backgroundColor);
        gradient.setColorAt(1, composition.gradientColor);
        painter.fillRect(canvas, gradient);
    }
}

// A blurred alpha mask of the shape, drawn in black and lifted toward the top edge.
void drawShadow(QPainter &painter, const QPainterPath &shape, double shadow)
{
    const double sigma = shadow / 2;
    const int factor = std::max(1, int(std::floor(sigma / shadowReductionSigma)));
    const double margin = std::ceil(3 * sigma) + 2 * factor;
    const QRectF area = grown(shape.boundingRect(), margin);
    QImage mask(int(std::ceil(area.width() / factor)), int(std::ceil(area.height() / factor)), QImage::Format_Alpha8);
    if (!mask.isNull()) {
        mask.fill(0);
        QPainter maskPainter(&mask);
        maskPainter.setRenderHint(QPainter::Antialiasing);
        maskPainter.scale(1.0 / factor, 1.0 / factor);
        maskPainter.translate(-area.topLeft());
        maskPainter.fillPath(shape, Qt::black);
        maskPainter.end();
        CaptureImageEffects::blurMask(mask, sigma / factor);

        painter.save();
        painter.setOpacity(painter.opacity() * shadowOpacity);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(area.x(), area.y() - shadowLift * shadow, double(mask.width()) * factor,
                                 double(mask.height()) * factor),
                          mask);
        painter.restore();
    }
    painter.fillPath(shape, Qt::black);
}

// The image and its marks inside the rounded image rectangle. Rounded corners
// go through a layer whose edge is anti-aliased; false when it cannot be made.
bool drawContent(QPainter &painter, const QPainterPath &shape, bool rounded, const QRectF &imageRect,
                 const QRectF &crop, const QImage &image, const QSizeF &sourceSize,
                 const QList<CaptureAnnotation> &annotations)
{
    const QPointF offset = imageRect.topLeft() - crop.topLeft();
    if (!rounded) {
        painter.save();
        painter.setClipRect(imageRect, Qt::IntersectClip);
        painter.translate(offset);
        drawPass(painter, image, sourceSize, annotations, visibleSource(painter, sourceSize) & crop);
        painter.restore();
        return true;
    }

    const QTransform toDevice = painter.worldTransform();
    QRect layerRect = toDevice.mapRect(imageRect).toAlignedRect() &
                      QRect(0, 0, painter.device()->width(), painter.device()->height());
    if (painter.hasClipping())
        layerRect &= toDevice.mapRect(painter.clipBoundingRect()).toAlignedRect();
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
    painter.resetTransform();
    QBrush content(layer);
    content.setTransform(QTransform::fromTranslate(layerRect.x(), layerRect.y()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(content);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPath(toDevice.map(shape));
    painter.restore();
    return true;
}

// The band of `width` inside the shape's edge, following its corners.
void drawBorder(QPainter &painter, const QRectF &imageRect, double radius, double width, const QColor &color)
{
    QPainterPath band;
    band.addRoundedRect(imageRect, radius, radius);
    const QRectF inner = imageRect.adjusted(width, width, -width, -width);
    if (inner.width() > 0 && inner.height() > 0) {
        const double innerRadius = std::max(radius - width, 0.0);
        band.addRoundedRect(inner, innerRadius, innerRadius);
    }
    band.setFillRule(Qt::OddEvenFill);
    painter.fillPath(band, color);
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
    drawBackground(painter, composition, layout.canvasSize);
    const double radius = std::max(0.0, std::min(composition.cornerRadius, std::min(crop.width(), crop.height()) / 2));
    QPainterPath shape;
    shape.addRoundedRect(imageRect, radius, radius);
    if (composition.shadow > 0)
        drawShadow(painter, shape, composition.shadow);

    const QList<CaptureAnnotation> marks = selected(annotations, isNotMagnifier);
    const bool drawn = drawContent(painter, shape, radius > 0, imageRect, crop, image, sourceSize, marks);
    if (composition.borderWidth > 0)
        drawBorder(painter, imageRect, radius, composition.borderWidth, composition.borderColor);

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
    if (!legend.isEmpty())
        CaptureRenderer::drawLegend(painter, legend, layout.legendRect);
    painter.restore();
    return drawn;
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
    switch (annotation.tool) {
    case CaptureTool::arrow:
        drawArrow(painter, annotation);
        break;
    case CaptureTool::rectangle:
    case CaptureTool::oval:
        drawShape(painter, annotation);
        break;
    case CaptureTool::freehand:
        drawFreehand(painter, annotation);
        break;
    case CaptureTool::text:
        drawText(painter, annotation);
        break;
    case CaptureTool::number:
        drawNumber(painter, annotation);
        break;
    case CaptureTool::redact:
        drawRedaction(painter, annotation);
        break;
    case CaptureTool::pixelate:
        drawMosaic(painter, annotation);
        break;
    case CaptureTool::select:
    case CaptureTool::magnifier:
    case CaptureTool::blur:
    case CaptureTool::imagePixelate:
    case CaptureTool::crop:
        break;
    }
    painter.restore();
}

QRectF CaptureRenderer::annotationBounds(const CaptureAnnotation &annotation)
{
    const double lineWidth = annotation.style.lineWidth;
    switch (annotation.tool) {
    case CaptureTool::arrow: {
        QRectF bounds = annotation.rect();
        if (annotation.style.arrowCurved)
            bounds = spanning(bounds, pointRect(annotation.resolvedControl()));
        return grown(bounds, std::max(4 * lineWidth, 10.0));
    }
    case CaptureTool::freehand:
        return grown(QPolygonF(strokePoints(annotation)).boundingRect(), lineWidth);
    case CaptureTool::number:
        return spanning(numberRect(annotation), pointRect(annotation.start));
    case CaptureTool::text: {
        const QSizeF size = CaptureText::markSize(annotation.text, annotation.style.textAttributes(annotation.color),
                                                  CaptureText::measuringDevice());
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
    const double diameter = std::max(numberDiameterPerFontSize * annotation.style.fontSize, minimumNumberDiameter);
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
    const QRectF extent = contentExtent(crop, annotations);
    const CaptureCompositionLayout layout = baseLayout(extent, composition, legend);
    const double width = std::ceil(layout.canvasSize.width());
    const double height = std::ceil(layout.canvasSize.height());
    if (!withinPixelLimit(width, height))
        throw CaptureRenderFailure(CaptureRenderError::imageTooLarge);

    QImage canvas(int(width), int(height), QImage::Format_ARGB32_Premultiplied);
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
