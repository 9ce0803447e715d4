#include "CaptureRenderer.h"
#include "RenderTestMarks.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage painted(const CaptureAnnotation &annotation, const QColor &background, QSize size = QSize(200, 200))
{
    QImage image = filledImage(size.width(), size.height(), background);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    CaptureRenderer::draw(painter, annotation, image.size());
    return image;
}

bool isBlue(const QImage &image, int x, int y)
{
    const QColor color = image.pixelColor(x, y);
    return color.blue() > 200 && color.red() < 60;
}

// The grey of a secure-mosaic block, computed from SplitMix64's output function.
int mosaicGrey(quint64 column, quint64 row)
{
    quint64 z = (column * 0xBF58476D1CE4E5B9ULL) ^ (row * 0x9E3779B97F4A7C15ULL) ^ 0x94D049BB133111EBULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    return qRound((0.28 + 0.055 * double(z % 9)) * 255);
}

QImage pass(const QImage &base, const QList<CaptureAnnotation> &annotations)
{
    QImage canvas = filledImage(base.width(), base.height(), Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    CaptureRenderer::draw(painter, base, base.size(), annotations);
    return canvas;
}

CaptureAnnotation spotlight(const QRectF &rect, double opacity)
{
    return mark(CaptureTool::rectangle, rect.topLeft(), rect.bottomRight(),
                {.shapeMode = CaptureShapeMode::spotlight, .spotlightOpacity = opacity});
}

} // namespace

// Where each mark, drawn in blue on white, inks and where it leaves the white.
TEST(CaptureRendererMarks, ArrowsDashesAndMarkersInkWhereTheirShapesReach)
{
    const auto inks = [](const char *name, const CaptureAnnotation &annotation,
                         const QList<std::pair<QPoint, bool>> &probes) {
        const QImage image = painted(annotation, Qt::white);
        for (const auto &[at, inked] : probes)
            EXPECT_EQ(isBlue(image, at.x(), at.y()), inked) << name << " at " << at.x() << "," << at.y();
    };
    CaptureAnnotation arrow = mark(CaptureTool::arrow, {20, 60}, {120, 60}, {.lineWidth = 4});
    // Head length 20, barbs at 30 degrees: they end at (120 - 17.3, 60 -+ 10); no head at the tail.
    inks("arrow", arrow, {{{103, 51}, true}, {{103, 68}, true}, {{98, 47}, false}, {{25, 51}, false}});
    arrow.style.arrowHead = CaptureArrowHead::both;
    inks("two heads", arrow, {{{36, 51}, true}});
    // Dashes of 12 with gaps of 8, each end rounded by 2: ink over 8...24, 28...44.
    inks("dashed",
         mark(CaptureTool::arrow, {10, 20}, {190, 20},
              {.lineWidth = 4, .arrowHead = CaptureArrowHead::none, .arrowDash = CaptureArrowDash::dashed}),
         {{{16, 20}, true}, {{26, 20}, false}, {{36, 20}, true}, {{46, 20}, false}});
    CaptureAnnotation number =
        mark(CaptureTool::number, {100, 150}, {}, {.fontSize = 40, .numberShape = CaptureNumberShape::teardrop});
    number.number = 7;
    // The disc of 66 spans y 67.5...133.5 above its tip at (100, 150).
    inks("teardrop", number, {{{100, 147}, true}, {{70, 100}, true}, {{100, 153}, false}, {{100, 64}, false}});
}

TEST(CaptureRendererMarks, HighlighterKeepsOneOpacityWhereItOverlaps)
{
    CaptureAnnotation highlighter =
        mark(CaptureTool::freehand, {}, {}, {.brush = CaptureBrush::highlighter, .brushOpacity = 100, .lineWidth = 10});
    highlighter.points = {QPointF(10, 10), QPointF(90, 90), QPointF(90, 10), QPointF(10, 90)};
    const QImage image = painted(highlighter, Qt::transparent);
    for (const QPoint at : {QPoint(50, 50), QPoint(30, 30), QPoint(90, 50)})
        EXPECT_NEAR(image.pixelColor(at).alpha(), 204, 1) << at.x() << "," << at.y();
}

TEST(CaptureRendererMarks, TextBackgroundFillsBehindTheText)
{
    CaptureAnnotation text = mark(CaptureTool::text, {20, 20}, {},
                                  {.textBackgroundEnabled = true, .textBackgroundColor = QColor(255, 255, 0)});
    text.text = "Hi";
    const QImage image = painted(text, Qt::white);
    const QRectF bounds = CaptureRenderer::annotationBounds(text);
    EXPECT_EQ(image.pixelColor(17, int(bounds.center().y())), QColor(255, 255, 0));
    EXPECT_EQ(image.pixelColor(int(bounds.right()) + 2, int(bounds.center().y())), QColor(Qt::white));
}

TEST(CaptureRendererMarks, RedactionCoversEveryTouchedPixelOpaque)
{
    const QImage image = painted(mark(CaptureTool::redact, {20.2, 20.1}, {10.3, 10.6}), Qt::transparent, QSize(40, 40));
    QImage expected = filledImage(40, 40, Qt::transparent);
    QPainter(&expected).fillRect(QRect(10, 10, 11, 11), Qt::black);
    EXPECT_EQ(image, expected);
}

TEST(CaptureRendererMarks, SecureMosaicBlocksFollowSplitMix64)
{
    const QImage image =
        painted(mark(CaptureTool::pixelate, {10.5, 20.5}, {51, 60}, {.pixelSize = 8}), QColor(200, 0, 0));
    // Blocks of 8 from (10, 20); the last column and row are cut at x = 51 and y = 60.
    for (int y = 20; y < 60; ++y) {
        for (int x = 10; x < 51; ++x) {
            const int grey = mosaicGrey(quint64(x - 10) / 8, quint64(y - 20) / 8);
            ASSERT_EQ(image.pixel(x, y), qRgb(grey, grey, grey)) << x << "," << y;
        }
    }
    EXPECT_EQ(image.pixelColor(51, 30), QColor(200, 0, 0));
    EXPECT_EQ(image.pixelColor(30, 60), QColor(200, 0, 0));
}

TEST(CaptureRendererPass, BlurOverARedactionShowsOnlyBlurredBlack)
{
    const QImage red = filledImage(200, 200, QColor(255, 0, 0));
    const CaptureAnnotation blur = mark(CaptureTool::blur, {20, 20}, {180, 180}, {.blurRadius = 5});
    const CaptureAnnotation redaction = mark(CaptureTool::redact, {40, 40}, {160, 160});
    for (const CaptureAnnotation &hiding : {blur, mark(CaptureTool::imagePixelate, {30, 30}, {170, 170})}) {
        // The effect comes after the redaction in the list and still never shows the red below it.
        const QImage result = pass(red, {redaction, hiding});
        for (const QPoint at : {QPoint(100, 100), QPoint(60, 60), QPoint(140, 100)})
            EXPECT_EQ(result.pixel(at), qRgb(0, 0, 0)) << at.x() << "," << at.y();
    }
    const int edge = qRed(pass(red, {blur, redaction}).pixel(38, 100));
    EXPECT_GT(edge, 40);
    EXPECT_LT(edge, 215);
}

TEST(CaptureRendererPass, BlurAtTheImageEdgeHasNoFringe)
{
    const QImage green = filledImage(160, 120, QColor(30, 160, 90));
    // Held to 1 and 80: the direct and the reduced blur.
    for (const double radius : {0.0, 16.0, 500.0}) {
        const QImage result = pass(green, {mark(CaptureTool::blur, {0, 0}, {160, 120}, {.blurRadius = radius})});
        for (const QPoint at : {QPoint(0, 0), QPoint(159, 119), QPoint(80, 0), QPoint(0, 60)})
            EXPECT_EQ(result.pixel(at), qRgb(30, 160, 90)) << radius << " at " << at.x() << "," << at.y();
    }
}

// Each pass's colour at chosen places.
TEST(CaptureRendererPass, SecureMarksSpotlightsAndLensesLandWhereExpected)
{
    QImage greenSquare = filledImage(300, 200, Qt::white);
    QPainter(&greenSquare).fillRect(QRect(20, 20, 40, 40), QColor(0, 200, 0));
    QImage redCorner = filledImage(600, 400, QColor(0, 128, 0));
    QPainter(&redCorner).fillRect(QRect(10, 10, 100, 50), QColor(200, 0, 0));
    const QImage white = filledImage(200, 100, Qt::white);
    const QRgb black = qRgb(0, 0, 0);
    const auto expect = [](const char *name, const QImage &result, const QList<std::pair<QPoint, QRgb>> &pixels) {
        SCOPED_TRACE(name);
        for (const auto &[at, colour] : pixels)
            EXPECT_EQ(result.pixel(at), colour) << at.x() << "," << at.y();
    };
    // One lens sits over the redaction, the other magnifies it: source (120, 70) lands at (230, 130).
    expect("a redaction stays above a later arrow and lenses",
           pass(greenSquare,
                {mark(CaptureTool::redact, {100, 50}, {140, 90}),
                 mark(CaptureTool::arrow, {80, 70}, {160, 70}, {.lineWidth = 10, .arrowHead = CaptureArrowHead::none}),
                 lens(QRectF(20, 20, 40, 40), QRectF(90, 40, 80, 80), 2),
                 lens(QRectF(95, 45, 50, 50), QRectF(180, 80, 100, 100), 2)}),
           {{{120, 70}, black},
            {{105, 55}, black},
            {{85, 70}, qRgb(0, 0, 255)},
            {{230, 130}, black},
            {{188, 88}, qRgb(255, 255, 255)}});
    const QImage spotlit = pass(white, {spotlight(QRectF(10, 10, 40, 40), 20), spotlight(QRectF(100, 10, 40, 40), 80)});
    expect("the first spotlight governs", spotlit, {{{120, 30}, qRgb(255, 255, 255)}});
    // 255 * (1 - 0.2) + 0.18 * 255 * 0.2
    EXPECT_NEAR(qRed(spotlit.pixel(80, 80)), 213, 1);
    expect("a redaction stays above a spotlight",
           pass(white, {mark(CaptureTool::redact, {60, 60}, {80, 80}), spotlight(QRectF(), 50)}), {{{70, 70}, black}});
    // A 100 x 50 source in a 300 x 300 lens: zoom 3, 300 x 150 centred vertically.
    CaptureAnnotation magnifier = lens(QRectF(10, 10, 100, 50), QRectF(250, 50, 300, 300), 2);
    expect("a magnifier zooms centred with white bars", pass(redCorner, {magnifier}),
           {{{400, 110}, qRgb(255, 255, 255)}, {{400, 200}, qRgb(200, 0, 0)}});
    magnifier.destination.reset();
    EXPECT_EQ(pass(redCorner, {magnifier}), pass(redCorner, {})) << "a lens not yet placed draws nothing";
}
