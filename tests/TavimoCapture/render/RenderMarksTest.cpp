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

} // namespace

TEST(CaptureRendererMarks, ArrowHeadsAndDashes)
{
    CaptureAnnotation arrow = mark(CaptureTool::arrow, {20, 60}, {120, 60}, {.lineWidth = 4});
    QImage image = painted(arrow, Qt::white);
    // Head length 20, barbs at 30 degrees: they end at (120 - 17.3, 60 -+ 10).
    EXPECT_TRUE(isBlue(image, 103, 51));
    EXPECT_TRUE(isBlue(image, 103, 68));
    EXPECT_FALSE(isBlue(image, 98, 47));
    EXPECT_FALSE(isBlue(image, 25, 51)) << "no head at the tail";
    arrow.style.arrowHead = CaptureArrowHead::both;
    EXPECT_TRUE(isBlue(painted(arrow, Qt::white), 36, 51));
    image = painted(mark(CaptureTool::arrow, {10, 20}, {190, 20},
                         {.lineWidth = 4, .arrowHead = CaptureArrowHead::none, .arrowDash = CaptureArrowDash::dashed}),
                    Qt::white);
    // Dashes of 12 with gaps of 8, each end rounded by 2: ink over 8...24, 28...44.
    for (const auto &[x, inked] : {std::pair{16, true}, {26, false}, {36, true}, {46, false}})
        EXPECT_EQ(isBlue(image, x, 20), inked) << x;
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

TEST(CaptureRendererMarks, NumberMarkersAndTextBackground)
{
    CaptureAnnotation number =
        mark(CaptureTool::number, {100, 150}, {}, {.fontSize = 40, .numberShape = CaptureNumberShape::teardrop});
    number.number = 7;
    QImage image = painted(number, Qt::white);
    // The disc of 66 spans y 67.5...133.5 above its tip at (100, 150).
    EXPECT_TRUE(isBlue(image, 100, 147));
    EXPECT_TRUE(isBlue(image, 70, 100));
    EXPECT_FALSE(isBlue(image, 100, 153));
    EXPECT_FALSE(isBlue(image, 100, 64));
    CaptureAnnotation text = mark(CaptureTool::text, {20, 20}, {},
                                  {.textBackgroundEnabled = true, .textBackgroundColor = QColor(255, 255, 0)});
    text.text = "Hi";
    image = painted(text, Qt::white);
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
