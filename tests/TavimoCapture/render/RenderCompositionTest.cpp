#include "CapturePngEncoder.h"
#include "CaptureRenderer.h"
#include "RenderTestMarks.h"

#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QImage render(const QImage &image, const QRectF &crop, const CaptureComposition &composition,
              const QList<CaptureAnnotation> &annotations = {}, const QList<CaptureLegendEntry> &legend = {})
{
    return CaptureRenderer::renderImage(image, image.size(), crop, annotations, composition, legend);
}

CaptureRenderError renderError(const QRectF &crop, const CaptureComposition &composition)
{
    try {
        render(filledImage(4, 4, Qt::red), crop, composition);
    } catch (const CaptureRenderFailure &failure) {
        return failure.code();
    }
    ADD_FAILURE() << "the export succeeded";
    return CaptureRenderError::allocationFailed;
}

// The composition drawn at half size, as the editor's zoomed canvas does.
QImage drawnAtHalfSize(QImage canvas, const QImage &image, const QList<CaptureAnnotation> &annotations,
                       const CaptureComposition &composition)
{
    QPainter painter(&canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.scale(0.5, 0.5);
    CaptureRenderer::drawComposition(painter, image, image.size(), QRectF(image.rect()), annotations, composition, {});
    return canvas;
}

// Translucent noise, premultiplied as captures are.
QImage translucentNoise(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    QRandomGenerator generator(7);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, generator.generate());
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QList<CaptureLegendEntry> entries(int count, const QString &text)
{
    QList<CaptureLegendEntry> result;
    for (int number = 1; number <= count; ++number)
        result.append({QUuid::createUuid(), number, text});
    return result;
}

} // namespace

TEST(CaptureRendererExport, BareCaptureSharesItsPixelsAndMatchesTheDrawnExport)
{
    QImage image = translucentNoise(64, 48);
    const QImage original = image.copy();
    CaptureComposition bare;
    // A transparent solid background draws nothing but takes the drawing path.
    CaptureComposition drawn;
    drawn.background = CaptureBackground::solid;
    drawn.backgroundColor = Qt::transparent;
    for (const QRectF crop : {QRectF(image.rect()), QRectF(5, 7, 30, 20)}) {
        SCOPED_TRACE(crop.x());
        QImage shared = render(image, crop, bare);
        const QImage painted = render(image, crop, drawn);
        EXPECT_EQ(shared.constBits(), image.constScanLine(int(crop.y())) + int(crop.x()) * 4);
        EXPECT_EQ(shared.format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(shared, painted);
        EXPECT_EQ(CapturePngEncoder::encode(shared), CapturePngEncoder::encode(painted));

        QPainter marking(&shared);
        marking.fillRect(shared.rect(), Qt::red);
        marking.end();
        EXPECT_EQ(shared.pixel(0, 0), qRgb(255, 0, 0));
        EXPECT_EQ(image, original);
    }
    EXPECT_NE(render(image, QRectF(0.5, 0, 30, 20), bare).constBits(), image.constScanLine(0));

    // A crop keeps its pixels after the capture is gone.
    const QImage crop = render(image, QRectF(1, 1, 8, 8), bare);
    image = QImage();
    EXPECT_EQ(crop, original.copy(1, 1, 8, 8));
}

TEST(CaptureRendererExport, RoundedCornersCutOnlyTheCornersOfImageAndMarks)
{
    QImage image = filledImage(120, 90, Qt::darkGreen);
    QPainter(&image).drawImage(QRect(10, 10, 100, 70), translucentNoise(50, 35).convertToFormat(QImage::Format_RGB32));
    const QList<CaptureAnnotation> marks = {mark(CaptureTool::blur, {0, 0}, {60, 50}),
                                            mark(CaptureTool::arrow, {119, 89}, {70, 40})};
    CaptureComposition square;
    square.padding = 10;
    CaptureComposition rounded = square;
    rounded.cornerRadius = 20;
    const QImage plain = render(image, QRectF(image.rect()), square, marks);
    const QImage cut = render(image, QRectF(image.rect()), rounded, marks);
    ASSERT_EQ(cut.size(), plain.size());

    const QRect imageRect(10, 10, 120, 90);
    int corners = 0;
    for (int y = 0; y < cut.height(); ++y) {
        for (int x = 0; x < cut.width(); ++x) {
            const QPointF centre(std::clamp(x + 0.5, 30.0, 110.0), std::clamp(y + 0.5, 30.0, 80.0));
            const double reach = std::hypot(x + 0.5 - centre.x(), y + 0.5 - centre.y());
            if (reach > 21) {
                corners += imageRect.contains(x, y);
                EXPECT_EQ(qAlpha(cut.pixel(x, y)), 0) << x << ", " << y;
            } else if (reach < 19) {
                EXPECT_EQ(cut.pixel(x, y), plain.pixel(x, y)) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(corners, 4 * 60);
}

TEST(CaptureRendererExport, PixelLimitAndBadCrops)
{
    CaptureComposition composition;
    const QImage exported = render(filledImage(4, 4, Qt::red), QRectF(0, 0, 10000, 8000), composition);
    EXPECT_EQ(exported.size(), QSize(10000, 8000));
    EXPECT_EQ(exported.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(exported.pixel(9999, 7999), 0u);
    EXPECT_EQ(renderError(QRectF(0, 0, 10000, 8001), composition), CaptureRenderError::imageTooLarge);
    EXPECT_EQ(description(CaptureRenderError::imageTooLarge),
              QStringLiteral("This image is too large to export. Crop it to 80 megapixels or fewer."));
    EXPECT_EQ(renderError(QRectF(0, 0, 0.5, 4), composition), CaptureRenderError::invalidImage);
    EXPECT_EQ(renderError(QRectF(0, std::nan(""), 4, 4), composition), CaptureRenderError::invalidImage);
    composition.padding = std::numeric_limits<double>::infinity();
    EXPECT_EQ(renderError(QRectF(0, 0, 4, 4), composition), CaptureRenderError::imageTooLarge);
}

// Each export's size and its colour at chosen places; 0 is a transparent pixel.
TEST(CaptureRendererExport, ExportsPutImageFrameLensesAndLegendInPlace)
{
    QImage marked = filledImage(100, 80, Qt::blue);
    marked.setPixel(30, 20, qRgb(255, 0, 0));
    const QImage wide = filledImage(200, 100, Qt::blue);
    const QImage green = filledImage(400, 300, QColor(0, 128, 0));
    const QRgb blue = qRgb(0, 0, 255);
    const QRgb yellow = qRgb(255, 255, 0);
    const auto expect = [](const char *name, const QImage &exported, QSize size,
                           const QList<std::pair<QPoint, QRgb>> &pixels) {
        SCOPED_TRACE(name);
        ASSERT_EQ(exported.size(), size);
        for (const auto &[at, colour] : pixels)
            EXPECT_EQ(exported.pixel(at), colour) << at.x() << "," << at.y();
    };
    expect("a crop moves the image and the padding stays transparent",
           render(marked, QRectF(30, 20, 50, 40), {.legend = {}, .padding = 10}), QSize(70, 60),
           {{{10, 10}, qRgb(255, 0, 0)}, {{0, 0}, 0}, {{9, 30}, 0}, {{60, 30}, 0}, {{35, 59}, 0}});
    expect("a solid background fills the padding",
           render(marked, QRectF(30, 20, 50, 40),
                  {.legend = {}, .background = CaptureBackground::solid, .backgroundColor = Qt::green, .padding = 10}),
           QSize(70, 60), {{{2, 2}, qRgb(0, 255, 0)}});
    // Half the shorter side at most: a capsule.
    expect("a radius beyond the image", render(wide, wide.rect(), {.legend = {}, .cornerRadius = 500}), QSize(200, 100),
           {{{12, 12}, 0}, {{1, 50}, blue}, {{100, 1}, blue}});
    // The band follows the corner: along the diagonal it lies 20 - 20 / sqrt(2) in.
    expect(
        "a border",
        render(wide, wide.rect(), {.legend = {}, .cornerRadius = 20, .borderWidth = 4, .borderColor = QColor(yellow)}),
        QSize(200, 100), {{{0, 50}, yellow}, {{3, 50}, yellow}, {{4, 50}, blue}, {{3, 3}, 0}, {{7, 7}, yellow}});
    expect("a shadow", render(wide, wide.rect(), {.legend = {}, .shadow = 10}), QSize(240, 140), {{{0, 139}, 0}});
    // The lens reaches 50 + 3 to the left of the crop.
    expect("a lens left of the crop",
           render(green, QRectF(100, 100, 200, 150), {}, {lens(QRectF(120, 120, 40, 40), QRectF(50, 110, 60, 60), 3)}),
           QSize(253, 150), {{{52, 0}, 0}, {{33, 40}, qRgb(0, 128, 0)}, {{2, 40}, blue}});

    // The shadow is lifted toward the top edge: darker above the image than below it.
    const QImage shadowed = render(wide, wide.rect(), {.legend = {}, .shadow = 10});
    EXPECT_GT(qAlpha(shadowed.pixel(120, 17)), qAlpha(shadowed.pixel(120, 122)));
    // A lens whose source leaves the crop is not drawn.
    const QRectF crop(100, 100, 200, 150);
    EXPECT_EQ(render(green, crop, {}, {lens(QRectF(90, 120, 40, 40), QRectF(50, 110, 60, 60), 3)}),
              render(green, crop, {}));
}

TEST(CaptureRendererExport, TheShadowStaysOutsideTheImageAndBehindTransparentPixels)
{
    QImage image = filledImage(200, 100, Qt::transparent);
    image.setPixel(150, 50, qPremultiply(qRgba(255, 0, 0, 128)));
    for (const double radius : {0.0, 20.0}) {
        SCOPED_TRACE(radius);
        const QImage exported = render(image, image.rect(), {.legend = {}, .cornerRadius = radius, .shadow = 10})
                                    .convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(exported.size(), QSize(240, 140));
        for (const QPoint at : {QPoint(120, 70), QPoint(30, 25), QPoint(120, 21), QPoint(210, 115)})
            EXPECT_EQ(exported.pixel(at), 0u) << at.x() << "," << at.y();
        const QRgb halfRed = exported.pixel(170, 70);
        EXPECT_EQ(qRed(halfRed), 255);
        EXPECT_NEAR(qAlpha(halfRed), 128, 1);
        EXPECT_GT(qAlpha(exported.pixel(120, 17)), 0) << "the shadow above the image";
    }
}

TEST(CaptureRendererExport, LegendBoxIsDrawnBelowTheImage)
{
    const QImage image = filledImage(300, 100, Qt::blue);
    const QImage exported = render(image, image.rect(), {.legend = {.fitToContent = false}}, {},
                                   {{QUuid::createUuid(), 1, QStringLiteral("Open the menu")}});
    EXPECT_EQ(exported.size(), QSize(300, 100 + 12 + 160 + 16));
    EXPECT_EQ(exported.pixel(150, 112 + 150), qRgba(245, 245, 245, 245));
    EXPECT_EQ(qAlpha(exported.pixel(150, 106)), 0);
    int dark = 0;
    for (int y = 112 + 12; y < 112 + 36; ++y) {
        for (int x = 28; x < 150; ++x)
            dark += qRed(exported.pixel(x, y)) < 100;
    }
    EXPECT_GT(dark, 30) << "the row text is drawn";
}

TEST(CaptureRendererExport, ZoomedCanvasDrawsTheSameComposition)
{
    QImage image = filledImage(400, 200, QColor(255, 0, 0));
    QPainter(&image).fillRect(QRect(200, 0, 200, 200), QColor(0, 0, 255));
    const QImage canvas =
        drawnAtHalfSize(filledImage(220, 120, Qt::transparent), image,
                        {mark(CaptureTool::blur, {100, 50}, {300, 150}), mark(CaptureTool::redact, {20, 20}, {60, 60})},
                        {.legend = {}, .padding = 20, .cornerRadius = 30});
    // Source (x, y) lands at ((x + 20) / 2, (y + 20) / 2).
    EXPECT_EQ(canvas.pixel(20, 20), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(40, 60), qRgb(255, 0, 0));
    EXPECT_GT(qRed(canvas.pixel(110, 60)), 60);
    EXPECT_GT(qBlue(canvas.pixel(110, 60)), 60);
    EXPECT_EQ(qAlpha(canvas.pixel(13, 13)), 0) << "rounded corner";
    // On a canvas of density 2 each source pixel keeps its own device pixel.
    QImage checker = filledImage(120, 80, Qt::black);
    QPainter(&checker).fillRect(checker.rect(), QBrush(Qt::white, Qt::Dense4Pattern));
    QImage dense = filledImage(120, 80, Qt::transparent);
    dense.setDevicePixelRatio(2);
    dense = drawnAtHalfSize(dense, checker, {}, {.legend = {}, .cornerRadius = 10});
    ASSERT_NE(checker.pixel(60, 40), checker.pixel(61, 40));
    for (int x = 55; x < 65; ++x)
        EXPECT_EQ(dense.pixel(x, 40), checker.pixel(x, 40)) << x;
    EXPECT_EQ(qAlpha(dense.pixel(1, 1)), 0);
}

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
