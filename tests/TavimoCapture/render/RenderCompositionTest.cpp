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

TEST(CaptureRendererExport, CropMovesTheImageAndPaddingStaysTransparent)
{
    QImage image = filledImage(100, 80, Qt::blue);
    image.setPixel(30, 20, qRgb(255, 0, 0));
    CaptureComposition composition{.legend = {}, .padding = 10};
    const QRectF crop(30, 20, 50, 40);
    const QImage exported = render(image, crop, composition);
    EXPECT_EQ(exported.size(), QSize(70, 60));
    EXPECT_EQ(exported.pixel(10, 10), qRgb(255, 0, 0));
    for (const QPoint at : {QPoint(0, 0), QPoint(9, 30), QPoint(60, 30), QPoint(35, 59)})
        EXPECT_EQ(exported.pixel(at), 0u) << at.x() << "," << at.y();
    composition.background = CaptureBackground::solid;
    composition.backgroundColor = QColor(0, 255, 0);
    EXPECT_EQ(render(image, crop, composition).pixel(2, 2), qRgb(0, 255, 0));
}

TEST(CaptureRendererExport, RoundedCornersBorderAndShadow)
{
    const QImage image = filledImage(200, 100, Qt::blue);
    QImage exported = render(image, image.rect(), {.legend = {}, .cornerRadius = 500});
    // Half the shorter side at most: a capsule.
    EXPECT_EQ(qAlpha(exported.pixel(12, 12)), 0);
    EXPECT_EQ(exported.pixel(1, 50), qRgb(0, 0, 255));
    EXPECT_EQ(exported.pixel(100, 1), qRgb(0, 0, 255));
    exported = render(image, image.rect(),
                      {.legend = {}, .cornerRadius = 20, .borderWidth = 4, .borderColor = QColor(255, 255, 0)});
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(exported.pixel(x, 50), qRgb(255, 255, 0)) << x;
    EXPECT_EQ(exported.pixel(4, 50), qRgb(0, 0, 255));
    // The band follows the corner: along the diagonal it lies 20 - 20 / sqrt(2) in.
    EXPECT_EQ(qAlpha(exported.pixel(3, 3)), 0);
    EXPECT_EQ(exported.pixel(7, 7), qRgb(255, 255, 0));
    exported = render(image, image.rect(), {.legend = {}, .shadow = 10});
    EXPECT_EQ(exported.size(), QSize(240, 140));
    // The shadow is lifted toward the top edge: darker above the image than below it.
    EXPECT_GT(qAlpha(exported.pixel(120, 17)), qAlpha(exported.pixel(120, 122)));
    EXPECT_EQ(qAlpha(exported.pixel(0, 139)), 0);
}

TEST(CaptureRendererExport, TheShadowStaysOutsideTheImageAndBehindTransparentPixels)
{
    QImage image(200, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
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

TEST(CaptureRendererExport, LensesWidenTheCanvasAndOnlyCountedOnesShow)
{
    const QImage image = filledImage(400, 300, QColor(0, 128, 0));
    const QRectF crop(100, 100, 200, 150);
    const QImage exported =
        render(image, crop, CaptureComposition(), {lens(QRectF(120, 120, 40, 40), QRectF(50, 110, 60, 60), 3)});
    // The lens reaches 50 + 3 to the left of the crop.
    EXPECT_EQ(exported.size(), QSize(253, 150));
    EXPECT_EQ(qAlpha(exported.pixel(52, 0)), 0);
    EXPECT_EQ(exported.pixel(3 + 30, 40), qRgb(0, 128, 0)) << "lens content";
    EXPECT_EQ(exported.pixel(3 - 1, 40), qRgb(0, 0, 255)) << "lens outline";
    // A lens whose source leaves the crop is not drawn.
    const CaptureAnnotation outside = lens(QRectF(90, 120, 40, 40), QRectF(50, 110, 60, 60), 3);
    EXPECT_EQ(render(image, crop, CaptureComposition(), {outside}), render(image, crop, CaptureComposition()));
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
