#include "CaptureImageEffects.h"

#include <QPainter>
#include <QRandomGenerator>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

namespace {

// Text-like strokes over flat panels and noise: hard edges everywhere.
QImage screenshotLike(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    QRandomGenerator generator(11);
    for (int panel = 0; panel < 12; ++panel)
        painter.fillRect(QRect(generator.bounded(width), generator.bounded(height), 60, 40),
                         QColor::fromRgb(generator.generate() | 0xFF000000));
    for (int y = 4; y < height; y += 9)
        painter.fillRect(QRect(generator.bounded(width / 2), y, generator.bounded(width / 2), 3), Qt::black);
    painter.end();
    for (int y = height / 2; y < height / 2 + 30; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = generator.generate() | 0xFF000000;
    }
    return image;
}

cv::Mat pixelsOf(const QImage &image)
{
    return cv::Mat(image.height(), image.width(), CV_8UC4, const_cast<uchar *>(image.constBits()),
                   size_t(image.bytesPerLine()));
}

} // namespace

TEST(CaptureImageEffects, RegionBlurMatchesBlurringTheWholeImage)
{
    const QImage image = screenshotLike(480, 360);
    // Inside, at a corner and across an edge: replication only at the true image edges.
    const QList<QRect> targets{QRect(150, 120, 160, 120), QRect(0, 0, 120, 90), QRect(380, 280, 100, 80)};
    for (const double radius : {3.0, 16.0, 40.0, 80.0}) {
        cv::Mat whole;
        cv::GaussianBlur(pixelsOf(image), whole, cv::Size(0, 0), radius, radius, cv::BORDER_REPLICATE);
        for (const QRect &target : targets) {
            SCOPED_TRACE(testing::Message() << radius << " at " << target.x() << "," << target.y());
            const QImage region = CaptureImageEffects::blur(image, target, radius);
            const cv::Mat expected = whole(cv::Rect(target.x(), target.y(), target.width(), target.height()));
            EXPECT_LE(cv::norm(pixelsOf(region), expected, cv::NORM_INF), radius <= 8 ? 2 : 6);
        }
    }
}

TEST(CaptureImageEffects, PixelationTakesEachBlockCentre)
{
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 4, 0));
    }
    // Blocks of 8 with corners on (2, 3) + multiples of 8.
    const QImage blocks = CaptureImageEffects::pixelate(image, QRect(10, 11, 30, 30), 8, QPoint(2, 3));
    EXPECT_EQ(blocks.pixel(7, 7), image.pixel(14, 15));
    EXPECT_EQ(blocks.pixel(8, 8), image.pixel(22, 23));
    // Blocks past the image take the nearest pixel inside it.
    const QImage edge = CaptureImageEffects::pixelate(image, QRect(60, 0, 4, 4), 8, QPoint(62, 3));
    EXPECT_EQ(edge.pixel(3, 0), image.pixel(63, 0));
}
