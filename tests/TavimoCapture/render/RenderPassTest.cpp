#include "CaptureRenderer.h"
#include "RenderTestMarks.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

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

TEST(CaptureRendererPass, SecureMarksStayAboveLaterMarksAndLenses)
{
    QImage base = filledImage(300, 200, Qt::white);
    QPainter(&base).fillRect(QRect(20, 20, 40, 40), QColor(0, 200, 0));
    const CaptureAnnotation arrow =
        mark(CaptureTool::arrow, {80, 70}, {160, 70}, {.lineWidth = 10, .arrowHead = CaptureArrowHead::none});
    // One lens sits over the redaction, the other magnifies it.
    const QImage result = pass(base, {mark(CaptureTool::redact, {100, 50}, {140, 90}), arrow,
                                      lens(QRectF(20, 20, 40, 40), QRectF(90, 40, 80, 80), 2),
                                      lens(QRectF(95, 45, 50, 50), QRectF(180, 80, 100, 100), 2)});
    EXPECT_EQ(result.pixel(120, 70), qRgb(0, 0, 0));
    EXPECT_EQ(result.pixel(105, 55), qRgb(0, 0, 0));
    EXPECT_EQ(result.pixel(85, 70), qRgb(0, 0, 255)) << "the arrow shows beside the redaction";
    // The magnified redaction is black in its lens: source (120, 70) lands at (230, 130).
    EXPECT_EQ(result.pixel(230, 130), qRgb(0, 0, 0));
    EXPECT_EQ(result.pixel(188, 88), qRgb(255, 255, 255));
}

TEST(CaptureRendererPass, FirstSpotlightGovernsTheDimming)
{
    const QImage white = filledImage(200, 100, Qt::white);
    const QImage result = pass(white, {spotlight(QRectF(10, 10, 40, 40), 20), spotlight(QRectF(100, 10, 40, 40), 80)});
    // 255 * (1 - 0.2) + 0.18 * 255 * 0.2
    EXPECT_NEAR(qRed(result.pixel(80, 80)), 213, 1);
    EXPECT_EQ(result.pixel(120, 30), qRgb(255, 255, 255));
    const QImage covered = pass(white, {mark(CaptureTool::redact, {60, 60}, {80, 80}), spotlight(QRectF(), 50)});
    EXPECT_EQ(covered.pixel(70, 70), qRgb(0, 0, 0));
}

TEST(CaptureRendererPass, MagnifierZoomsCentredWithWhiteBars)
{
    QImage base = filledImage(600, 400, QColor(0, 128, 0));
    QPainter(&base).fillRect(QRect(10, 10, 100, 50), QColor(200, 0, 0));
    // A 100 x 50 source in a 300 x 300 lens: zoom 3, 300 x 150 centred vertically.
    CaptureAnnotation magnifier = lens(QRectF(10, 10, 100, 50), QRectF(250, 50, 300, 300), 2);
    const QImage result = pass(base, {magnifier});
    EXPECT_EQ(result.pixel(400, 110), qRgb(255, 255, 255));
    EXPECT_EQ(result.pixel(400, 200), qRgb(200, 0, 0));
    magnifier.destination.reset();
    EXPECT_EQ(pass(base, {magnifier}), pass(base, {}));
}
