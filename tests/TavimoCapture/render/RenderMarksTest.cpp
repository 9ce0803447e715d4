#include "CaptureRenderer.h"
#include "RenderTestImages.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

void paint(QImage &image, const CaptureAnnotation &annotation)
{
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    CaptureRenderer::draw(painter, annotation, image.size());
}

CaptureAnnotation mark(CaptureTool tool, const QPointF &start, const QPointF &end)
{
    CaptureAnnotation annotation;
    annotation.tool = tool;
    annotation.start = start;
    annotation.end = end;
    annotation.color = QColor(0, 0, 255);
    return annotation;
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

TEST(CaptureRendererMarks, ToolsWithoutAMarkDrawNothing)
{
    for (const CaptureTool tool : {CaptureTool::select, CaptureTool::crop, CaptureTool::magnifier, CaptureTool::blur,
                                   CaptureTool::imagePixelate}) {
        QImage image = filledImage(60, 60, Qt::white);
        CaptureAnnotation annotation = mark(tool, QPointF(5, 5), QPointF(50, 50));
        annotation.destination = QRectF(0, 0, 60, 60);
        paint(image, annotation);
        EXPECT_EQ(image, filledImage(60, 60, Qt::white)) << qPrintable(rawValue(tool));
    }
}

TEST(CaptureRendererMarks, ArrowHeadsShaftsAndDashes)
{
    QImage image = filledImage(200, 120, Qt::white);
    CaptureAnnotation arrow = mark(CaptureTool::arrow, QPointF(20, 60), QPointF(120, 60));
    arrow.style.lineWidth = 4;
    paint(image, arrow);
    // Head length 20, barbs at 30 degrees: they end at (120 - 17.3, 60 -+ 10).
    EXPECT_TRUE(isBlue(image, 103, 51));
    EXPECT_TRUE(isBlue(image, 103, 68));
    EXPECT_FALSE(isBlue(image, 98, 47));
    EXPECT_FALSE(isBlue(image, 25, 51)) << "no head at the tail";

    arrow.style.arrowHead = CaptureArrowHead::both;
    image = filledImage(200, 120, Qt::white);
    paint(image, arrow);
    EXPECT_TRUE(isBlue(image, 36, 51));

    // A line width below 1 draws 1 wide; coinciding ends give a head of length 0.
    CaptureAnnotation dot = mark(CaptureTool::arrow, QPointF(150, 100), QPointF(150, 100));
    dot.style.lineWidth = 0.2;
    image = filledImage(200, 120, Qt::white);
    paint(image, dot);
    EXPECT_FALSE(isBlue(image, 146, 97));

    CaptureAnnotation dashed = mark(CaptureTool::arrow, QPointF(10, 20), QPointF(190, 20));
    dashed.style.lineWidth = 4;
    dashed.style.arrowHead = CaptureArrowHead::none;
    dashed.style.arrowDash = CaptureArrowDash::dashed;
    image = filledImage(200, 120, Qt::white);
    paint(image, dashed);
    // Dashes of 12 with gaps of 8, each end rounded by 2: ink over 8...24, 28...44.
    EXPECT_TRUE(isBlue(image, 16, 20));
    EXPECT_FALSE(isBlue(image, 26, 20));
    EXPECT_TRUE(isBlue(image, 36, 20));
    EXPECT_FALSE(isBlue(image, 46, 20));
}

TEST(CaptureRendererMarks, CurvedArrowBendsThroughTheDefaultControlPoint)
{
    QImage image = filledImage(200, 140, Qt::white);
    CaptureAnnotation arrow = mark(CaptureTool::arrow, QPointF(20, 100), QPointF(120, 100));
    arrow.style.arrowCurved = true;
    arrow.style.arrowHead = CaptureArrowHead::none;
    paint(image, arrow);
    // The quadratic through (70, 40) passes (70, 70) halfway.
    EXPECT_TRUE(isBlue(image, 70, 70));
    EXPECT_FALSE(isBlue(image, 70, 100));
}

TEST(CaptureRendererMarks, FreehandStrokesAndHighlighterOpacity)
{
    QImage image = filledImage(100, 100, Qt::transparent);
    CaptureAnnotation line = mark(CaptureTool::freehand, QPointF(10, 50), QPointF(90, 50));
    paint(image, line);
    EXPECT_EQ(image.pixelColor(50, 50).alpha(), 255);
    EXPECT_EQ(image.pixelColor(50, 40).alpha(), 0);

    // A highlighter crossing itself keeps one opacity where it overlaps.
    CaptureAnnotation highlighter = mark(CaptureTool::freehand, {}, {});
    highlighter.points = {QPointF(10, 10), QPointF(90, 90), QPointF(90, 10), QPointF(10, 90)};
    highlighter.style.brush = CaptureBrush::highlighter;
    highlighter.style.brushOpacity = 100;
    highlighter.style.lineWidth = 10;
    image = filledImage(100, 100, Qt::transparent);
    paint(image, highlighter);
    EXPECT_NEAR(image.pixelColor(50, 50).alpha(), 204, 1);
    EXPECT_NEAR(image.pixelColor(30, 30).alpha(), 204, 1);
    EXPECT_NEAR(image.pixelColor(90, 50).alpha(), 204, 1);

    highlighter.style.brushOpacity = 1;
    image = filledImage(100, 100, Qt::transparent);
    paint(image, highlighter);
    EXPECT_NEAR(image.pixelColor(50, 50).alpha(), 13, 1);
}

TEST(CaptureRendererMarks, NumberMarkersAndTextBackground)
{
    QImage image = filledImage(200, 200, Qt::white);
    CaptureAnnotation number = mark(CaptureTool::number, QPointF(100, 150), {});
    number.number = 7;
    number.style.fontSize = 40;
    number.style.numberShape = CaptureNumberShape::teardrop;
    paint(image, number);
    // The disc of 66 spans y 67.5...133.5 above its tip at (100, 150); its label is white.
    EXPECT_TRUE(isBlue(image, 100, 147));
    EXPECT_TRUE(isBlue(image, 70, 100));
    EXPECT_FALSE(isBlue(image, 100, 153));
    EXPECT_FALSE(isBlue(image, 100, 64));
    int white = 0;
    for (int y = 88; y < 113; ++y) {
        for (int x = 85; x < 115; ++x)
            white += image.pixelColor(x, y) == QColor(Qt::white);
    }
    EXPECT_GT(white, 20);

    CaptureAnnotation text = mark(CaptureTool::text, QPointF(20, 20), {});
    text.text = QStringLiteral("Hi");
    text.style.textBackgroundEnabled = true;
    text.style.textBackgroundColor = QColor(255, 255, 0);
    image = filledImage(200, 200, Qt::white);
    paint(image, text);
    const QRectF bounds = CaptureRenderer::annotationBounds(text);
    EXPECT_EQ(image.pixelColor(17, int(bounds.center().y())), QColor(255, 255, 0));
    EXPECT_EQ(image.pixelColor(int(bounds.right()) + 2, int(bounds.center().y())), QColor(Qt::white));
}

TEST(CaptureRendererMarks, RedactionCoversEveryTouchedPixelOpaque)
{
    QImage image = filledImage(40, 40, Qt::transparent);
    CaptureAnnotation redaction = mark(CaptureTool::redact, QPointF(20.2, 20.1), QPointF(10.3, 10.6));
    paint(image, redaction);
    for (int y = 8; y < 24; ++y) {
        for (int x = 8; x < 24; ++x) {
            const bool inside = x >= 10 && x <= 20 && y >= 10 && y <= 20;
            EXPECT_EQ(image.pixel(x, y), inside ? qRgba(0, 0, 0, 255) : 0u) << x << "," << y;
        }
    }
}

TEST(CaptureRendererMarks, SecureMosaicBlocksFollowSplitMix64)
{
    QImage image = filledImage(300, 300, QColor(200, 0, 0));
    CaptureAnnotation mosaic = mark(CaptureTool::pixelate, QPointF(10.5, 20.5), QPointF(51, 60));
    mosaic.style.pixelSize = 8;
    paint(image, mosaic);
    // Blocks of 8 from (10, 20); the last column and row are cut at x = 51 and y = 60.
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 6; ++column) {
            const int grey = mosaicGrey(quint64(column), quint64(row));
            for (const QPoint corner : {QPoint(0, 0), QPoint(7, 7), QPoint(3, 5)}) {
                const QPoint at(10 + 8 * column + corner.x(), 20 + 8 * row + corner.y());
                if (at.x() >= 51)
                    continue;
                EXPECT_EQ(image.pixel(at), qRgb(grey, grey, grey)) << at.x() << "," << at.y();
            }
        }
    }
    EXPECT_EQ(image.pixelColor(51, 30), QColor(200, 0, 0));
    EXPECT_EQ(image.pixelColor(30, 60), QColor(200, 0, 0));

    // Block sizes are held within 2 and 256.
    mosaic.start = QPointF(0, 0);
    mosaic.end = QPointF(300, 300);
    mosaic.style.pixelSize = 1;
    paint(image, mosaic);
    EXPECT_EQ(qRed(image.pixel(3, 0)), mosaicGrey(1, 0));
    EXPECT_EQ(qRed(image.pixel(2, 1)), mosaicGrey(1, 0));
    mosaic.style.pixelSize = 1000;
    paint(image, mosaic);
    EXPECT_EQ(qRed(image.pixel(255, 255)), mosaicGrey(0, 0));
    EXPECT_EQ(qRed(image.pixel(256, 0)), mosaicGrey(1, 0));
}
