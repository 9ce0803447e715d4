#include "CaptureMarkPainter.h"

#include "CaptureRenderGeometry.h"
#include "CaptureRenderer.h"
#include "CaptureText.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace CaptureRenderGeometry;

namespace {

// Arrows
constexpr double dashLength = 3;
constexpr double dashGap = 2;
constexpr double dotLength = 0.1;
constexpr double headLengthPerWidth = 5;
constexpr double headLengthPerDistance = 0.45;
constexpr double barbAngle = std::numbers::pi / 6;

// Highlighter, number markers, text
constexpr double teardropShoulder = 0.12;
constexpr double numberFontPerFontSize = 0.85;
constexpr double minimumNumberFontSize = 12;
constexpr double textBackgroundRadius = 4;

// Secure mosaic
constexpr double mosaicBaseLevel = 0.42;
constexpr double mosaicFirstLevel = 0.28;
constexpr double mosaicLevelStep = 0.055;
constexpr int mosaicLevels = 9;

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

void drawFreehand(QPainter &painter, const CaptureAnnotation &annotation)
{
    const QList<QPointF> points = CaptureMarkPainter::strokePoints(annotation);
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
        painter.setOpacity(painter.opacity() * drawnValue(annotation, &CaptureStyle::brushOpacity) / 100);
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
    CaptureText::drawMark(painter, annotation.text, textAttributes(annotation), annotation.start);
}

QFont numberFont(const CaptureAnnotation &annotation)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setBold(true);
    font.setPixelSize(qRound(
        std::max(numberFontPerFontSize * drawnValue(annotation, &CaptureStyle::fontSize), minimumNumberFontSize)));
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

int mosaicBlockSize(const CaptureAnnotation &annotation)
{
    return int(std::round(drawnValue(annotation, &CaptureStyle::pixelSize)));
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
    const int block = mosaicBlockSize(annotation);
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

} // namespace

QList<QPointF> CaptureMarkPainter::strokePoints(const CaptureAnnotation &annotation)
{
    if (annotation.points.isEmpty())
        return {annotation.start, annotation.end};
    if (annotation.points.size() == 1)
        return {annotation.points.first(), annotation.points.first()};
    return annotation.points;
}

void CaptureMarkPainter::draw(QPainter &painter, const CaptureAnnotation &annotation)
{
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
}
