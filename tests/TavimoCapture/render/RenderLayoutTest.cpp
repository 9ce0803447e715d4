#include "CaptureRenderer.h"

#include <gtest/gtest.h>

namespace {

CaptureAnnotation magnifier(const QRectF &source, const QRectF &lens, double lineWidth)
{
    CaptureAnnotation annotation;
    annotation.tool = CaptureTool::magnifier;
    annotation.start = source.topLeft();
    annotation.end = source.bottomRight();
    annotation.destination = lens;
    annotation.style.lineWidth = lineWidth;
    return annotation;
}

QList<CaptureLegendEntry> entries(int count, const QString &text)
{
    QList<CaptureLegendEntry> result;
    for (int number = 1; number <= count; ++number)
        result.append({QUuid::createUuid(), number, text});
    return result;
}

} // namespace

TEST(CaptureRendererLayout, PaddingAndShadowSurroundTheImage)
{
    CaptureComposition composition;
    composition.padding = 40;
    composition.shadow = 10;
    const CaptureCompositionLayout layout = CaptureRenderer::baseLayout(QRectF(0, 0, 1000, 800), composition, {});
    EXPECT_EQ(layout.canvasSize, QSizeF(1120, 920));
    EXPECT_EQ(layout.imageRect, QRectF(60, 60, 1000, 800));
    EXPECT_TRUE(layout.legendRect.isNull());
    EXPECT_FALSE(layout.legendOverflow);
}

TEST(CaptureRendererLayout, BottomLegendTakesItsSetHeightOrWhatTheTextNeeds)
{
    CaptureComposition composition;
    composition.padding = 40;
    composition.shadow = 10;
    composition.legend.fitToContent = false;
    composition.legend.height = 160;
    const QList<CaptureLegendEntry> one = entries(1, QStringLiteral("Save"));
    ASSERT_EQ(CaptureRenderer::legendRows(one, 1088), QList<double>{24});
    CaptureCompositionLayout layout = CaptureRenderer::baseLayout(QRectF(0, 0, 1000, 800), composition, one);
    EXPECT_EQ(layout.canvasSize, QSizeF(1120, 1108));
    EXPECT_EQ(layout.legendRect, QRectF(16, 932, 1088, 160));
    EXPECT_FALSE(layout.legendOverflow);

    // Twelve rows need 24 + 12 * 34 = 432 pixels, more than the set 160.
    const QList<CaptureLegendEntry> many = entries(12, QStringLiteral("Step"));
    layout = CaptureRenderer::baseLayout(QRectF(0, 0, 1000, 800), composition, many);
    EXPECT_EQ(layout.legendRect.height(), 432);
    EXPECT_TRUE(layout.legendOverflow);
    composition.legend.fitToContent = true;
    layout = CaptureRenderer::baseLayout(QRectF(0, 0, 1000, 800), composition, many);
    EXPECT_EQ(layout.legendRect.height(), 432);
    EXPECT_FALSE(layout.legendOverflow);

    composition.legend.height = std::numeric_limits<double>::quiet_NaN();
    composition.legend.fitToContent = false;
    EXPECT_EQ(CaptureRenderer::baseLayout(QRectF(0, 0, 1000, 800), composition, one).legendRect.height(), 320);
}

TEST(CaptureRendererLayout, NarrowImageIsCentredAboveA240WideLegend)
{
    const CaptureCompositionLayout layout =
        CaptureRenderer::baseLayout(QRectF(0, 0, 100, 100), CaptureComposition(), entries(1, QStringLiteral("A")));
    EXPECT_EQ(layout.canvasSize.width(), 240);
    EXPECT_EQ(layout.imageRect.x(), 70);
    EXPECT_EQ(layout.legendRect.width(), 208);
}

TEST(CaptureRendererLayout, SideLegendFitsTheImageHeight)
{
    CaptureComposition composition;
    composition.legend.placement = CaptureLegendPlacement::right;
    const QList<CaptureLegendEntry> legend =
        entries(3, QStringLiteral("A longer description that wraps over several lines when the box is narrow"));
    const CaptureCompositionLayout layout = CaptureRenderer::baseLayout(QRectF(0, 0, 1500, 2000), composition, legend);
    const double width = layout.legendRect.width();
    EXPECT_GE(width, 80);
    EXPECT_LT(width, 4096);
    EXPECT_EQ(layout.legendRect, QRectF(1512, 16, width, 2000 - 32));
    EXPECT_EQ(layout.canvasSize, QSizeF(1500 + width + 28, 2000));
    EXPECT_EQ(layout.imageRect, QRectF(0, 0, 1500, 2000));
    EXPECT_FALSE(layout.legendOverflow);

    // A single short row fits at the narrowest width; on the left the image moves right.
    composition.legend.placement = CaptureLegendPlacement::left;
    const CaptureCompositionLayout narrow =
        CaptureRenderer::baseLayout(QRectF(0, 0, 1500, 2000), composition, entries(1, QStringLiteral("A")));
    EXPECT_EQ(narrow.legendRect.width(), 81);
    EXPECT_EQ(narrow.legendRect.x(), 16);
    EXPECT_EQ(narrow.imageRect.x(), 81 + 28);

    // Text that cannot fit gets the widest legend; a set width is clamped.
    const CaptureCompositionLayout tooMuch =
        CaptureRenderer::baseLayout(QRectF(0, 0, 100, 10), composition, entries(5, QStringLiteral("Row")));
    EXPECT_EQ(tooMuch.legendRect.width(), 4096);
    composition.legend.fitToContent = false;
    composition.legend.width = 20;
    const CaptureCompositionLayout set =
        CaptureRenderer::baseLayout(QRectF(0, 0, 100, 10), composition, entries(5, QStringLiteral("Row")));
    EXPECT_EQ(set.legendRect.width(), 80);
    double needed = 24 + 32;
    for (double row : CaptureRenderer::legendRows(entries(5, QStringLiteral("Row")), 80))
        needed += row + 10;
    EXPECT_EQ(set.canvasSize.height(), needed);
    EXPECT_TRUE(set.legendOverflow);
}

TEST(CaptureRendererLayout, LensesOutsideTheCropWidenTheContent)
{
    const QRectF crop(100, 100, 400, 300);
    const CaptureAnnotation lens = magnifier(QRectF(120, 150, 40, 40), QRectF(50, 140, 80, 80), 5);
    EXPECT_EQ(CaptureRenderer::contentExtent(crop, {lens}), QRectF(45, 100, 455, 300));

    CaptureAnnotation thin = magnifier(QRectF(120, 150, 40, 40), QRectF(49.5, 140, 80, 80), 0.2);
    EXPECT_EQ(CaptureRenderer::contentExtent(crop, {thin}), QRectF(48, 100, 452, 300));

    const CaptureAnnotation outside = magnifier(QRectF(90, 150, 40, 40), QRectF(0, 0, 80, 80), 5);
    CaptureAnnotation pending = lens;
    pending.destination.reset();
    EXPECT_EQ(CaptureRenderer::contentExtent(crop, {outside, pending}), crop);
    EXPECT_EQ(CaptureRenderer::contentExtent(QRectF(0.5, 0.25, 10, 10), {}), QRectF(0, 0, 11, 11));
}

TEST(CaptureRendererGeometry, BoundsByTool)
{
    CaptureAnnotation arrow;
    arrow.tool = CaptureTool::arrow;
    arrow.start = QPointF(0, 100);
    arrow.end = QPointF(100, 100);
    arrow.style.lineWidth = 1;
    EXPECT_EQ(CaptureRenderer::annotationBounds(arrow), QRectF(-10, 90, 120, 20));
    arrow.style.arrowCurved = true;
    EXPECT_EQ(CaptureRenderer::annotationBounds(arrow), QRectF(-10, 30, 120, 80));

    CaptureAnnotation freehand;
    freehand.tool = CaptureTool::freehand;
    freehand.style.lineWidth = 3;
    freehand.points = {QPointF(10, 10), QPointF(30, 5), QPointF(20, 40)};
    EXPECT_EQ(CaptureRenderer::annotationBounds(freehand), QRectF(7, 2, 26, 41));

    CaptureAnnotation number;
    number.tool = CaptureTool::number;
    number.start = QPointF(100, 100);
    number.style.fontSize = 10;
    EXPECT_EQ(CaptureRenderer::numberRect(number), QRectF(88, 88, 24, 24));
    number.style.fontSize = 40;
    number.style.numberShape = CaptureNumberShape::teardrop;
    EXPECT_EQ(CaptureRenderer::numberRect(number), QRectF(67, 17.5, 66, 66));
    EXPECT_EQ(CaptureRenderer::annotationBounds(number), QRectF(67, 17.5, 66, 83.5));

    CaptureAnnotation rectangle;
    rectangle.tool = CaptureTool::rectangle;
    rectangle.start = QPointF(50, 60);
    rectangle.end = QPointF(10, 20);
    rectangle.style.lineWidth = 4;
    EXPECT_EQ(CaptureRenderer::annotationBounds(rectangle), QRectF(8, 18, 44, 44));
    EXPECT_EQ(CaptureRenderer::shapePath(rectangle).boundingRect(), QRectF(10, 20, 40, 40));

    CaptureAnnotation lens = magnifier(QRectF(0, 0, 10, 10), QRectF(50, 50, 20, 20), 5);
    EXPECT_EQ(CaptureRenderer::annotationBounds(lens), QRectF(0, 0, 70, 70));

    CaptureAnnotation text;
    text.tool = CaptureTool::text;
    text.start = QPointF(20, 30);
    text.text = QStringLiteral("Hello");
    const QRectF single = CaptureRenderer::annotationBounds(text);
    EXPECT_EQ(single.topLeft(), QPointF(15, 26));
    EXPECT_GT(single.width(), 10 + 32);
    text.text = QStringLiteral("Hello\nHello");
    const QRectF twoLines = CaptureRenderer::annotationBounds(text);
    EXPECT_DOUBLE_EQ(twoLines.width(), single.width());
    EXPECT_NEAR(twoLines.height() - 8, 2 * (single.height() - 8), 1);
}
