#include "CaptureRenderer.h"
#include "RenderTestMarks.h"

#include <gtest/gtest.h>

namespace {

QList<CaptureLegendEntry> entries(int count, const QString &text)
{
    QList<CaptureLegendEntry> result;
    for (int number = 1; number <= count; ++number)
        result.append({QUuid::createUuid(), number, text});
    return result;
}

} // namespace

TEST(CaptureRendererLayout, BottomLegendTakesItsSetHeightOrWhatTheTextNeeds)
{
    CaptureComposition composition{.legend = {.fitToContent = false}, .padding = 40, .shadow = 10};
    const QRectF extent(0, 0, 1000, 800);
    CaptureCompositionLayout layout = CaptureRenderer::baseLayout(extent, composition, {});
    EXPECT_EQ(layout.canvasSize, QSizeF(1120, 920));
    EXPECT_EQ(layout.imageRect, QRectF(60, 60, 1000, 800));
    EXPECT_TRUE(layout.legendRect.isNull());
    const QList<CaptureLegendEntry> one = entries(1, "Save");
    layout = CaptureRenderer::baseLayout(extent, composition, one);
    EXPECT_EQ(layout.canvasSize, QSizeF(1120, 1108));
    EXPECT_EQ(layout.legendRect, QRectF(16, 932, 1088, 160));
    // Twelve rows need 24 + 12 * 34 = 432 pixels, more than the set 160.
    for (const bool fit : {false, true}) {
        composition.legend.fitToContent = fit;
        layout = CaptureRenderer::baseLayout(extent, composition, entries(12, "Step"));
        EXPECT_EQ(layout.legendRect.height(), 432);
        EXPECT_EQ(layout.legendOverflow, !fit);
    }
    composition.legend = {.height = std::numeric_limits<double>::quiet_NaN(), .fitToContent = false};
    EXPECT_EQ(CaptureRenderer::baseLayout(extent, composition, one).legendRect.height(), 320);
    // A narrow image is centred above a legend 240 wide.
    layout = CaptureRenderer::baseLayout(QRectF(0, 0, 100, 100), {}, entries(1, "A"));
    EXPECT_EQ(layout.canvasSize.width(), 240);
    EXPECT_EQ(layout.imageRect.x(), 70);
    EXPECT_EQ(layout.legendRect.width(), 208);
}

TEST(CaptureRendererLayout, SideLegendFitsTheImageHeight)
{
    CaptureComposition composition{.legend = {.placement = CaptureLegendPlacement::right}};
    const QRectF extent(0, 0, 1500, 2000);
    const CaptureCompositionLayout layout = CaptureRenderer::baseLayout(
        extent, composition, entries(3, "A longer description that wraps over several lines when the box is narrow"));
    const double width = layout.legendRect.width();
    EXPECT_EQ(layout.legendRect, QRectF(1512, 16, width, 2000 - 32));
    EXPECT_EQ(layout.canvasSize, QSizeF(1500 + width + 28, 2000));
    EXPECT_EQ(layout.imageRect, extent);
    // A single short row fits at the narrowest width; on the left the image moves right.
    composition.legend.placement = CaptureLegendPlacement::left;
    const CaptureCompositionLayout narrow = CaptureRenderer::baseLayout(extent, composition, entries(1, "A"));
    EXPECT_EQ(narrow.legendRect.width(), 81);
    EXPECT_EQ(narrow.legendRect.x(), 16);
    EXPECT_EQ(narrow.imageRect.x(), 81 + 28);
    // Text that cannot fit gets the widest legend.
    EXPECT_EQ(CaptureRenderer::baseLayout(QRectF(0, 0, 100, 10), composition, entries(5, "Row")).legendRect.width(),
              4096);
}

TEST(CaptureRendererLayout, LensesOutsideTheCropWidenTheContent)
{
    const QRectF crop(100, 100, 400, 300);
    const QRectF source(120, 150, 40, 40);
    EXPECT_EQ(CaptureRenderer::contentExtent(crop, {lens(source, QRectF(50, 140, 80, 80), 5)}),
              QRectF(45, 100, 455, 300));
    // Lenses whose source leaves the crop, and lenses not yet placed, do not count.
    CaptureAnnotation pending = lens(source, QRectF(0, 0, 80, 80), 5);
    pending.destination.reset();
    EXPECT_EQ(CaptureRenderer::contentExtent(crop, {lens(QRectF(90, 150, 40, 40), QRectF(0, 0, 80, 80), 5), pending}),
              crop);
    EXPECT_EQ(CaptureRenderer::contentExtent(QRectF(0.5, 0.25, 10, 10), {}), QRectF(0, 0, 11, 11));
}

TEST(CaptureRendererGeometry, BoundsCoverWhatEachToolDraws)
{
    CaptureAnnotation freehand = mark(CaptureTool::freehand, {}, {}, {.lineWidth = 3});
    freehand.points = {QPointF(10, 10), QPointF(30, 5), QPointF(20, 40)};
    const struct {
        CaptureAnnotation annotation;
        QRectF bounds;
    } cases[] = {
        {mark(CaptureTool::arrow, {0, 100}, {100, 100}, {.lineWidth = 1}), QRectF(-10, 90, 120, 20)},
        {mark(CaptureTool::arrow, {0, 100}, {100, 100}, {.lineWidth = 1, .arrowCurved = true}),
         QRectF(-10, 30, 120, 80)},
        {freehand, QRectF(7, 2, 26, 41)},
        {mark(CaptureTool::number, {100, 100}, {}, {.fontSize = 40, .numberShape = CaptureNumberShape::teardrop}),
         QRectF(67, 17.5, 66, 83.5)},
        {mark(CaptureTool::rectangle, {50, 60}, {10, 20}, {.lineWidth = 4}), QRectF(8, 18, 44, 44)},
        {lens(QRectF(0, 0, 10, 10), QRectF(50, 50, 20, 20), 5), QRectF(0, 0, 70, 70)},
    };
    for (const auto &test : cases)
        EXPECT_EQ(CaptureRenderer::annotationBounds(test.annotation), test.bounds)
            << qPrintable(rawValue(test.annotation.tool));
}
