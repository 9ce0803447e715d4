#include "CaptureFailure.h"
#include "CapturePngEncoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QImage decode(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "png");
    return reader.read();
}

QImage noise(int width, int height, QImage::Format format)
{
    QImage image(width, height, format);
    QRandomGenerator generator(7);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = generator.generate();
    }
    return image;
}

} // namespace

TEST(CapturePngEncoder, RoundTripKeepsEveryPixelAndAlpha)
{
    const QImage translucent = noise(97, 61, QImage::Format_ARGB32);
    const QImage decodedTranslucent = decode(CapturePngEncoder::encode(translucent));
    ASSERT_FALSE(decodedTranslucent.isNull());
    EXPECT_EQ(decodedTranslucent.convertToFormat(QImage::Format_ARGB32), translucent);

    const QImage opaque = noise(64, 33, QImage::Format_RGB32);
    EXPECT_EQ(decode(CapturePngEncoder::encode(opaque)).convertToFormat(QImage::Format_RGB32), opaque);

    QImage premultiplied(5, 5, QImage::Format_ARGB32_Premultiplied);
    premultiplied.fill(QColor(255, 0, 0, 128));
    const QImage back = decode(CapturePngEncoder::encode(premultiplied));
    EXPECT_EQ(back.pixelColor(2, 2).alpha(), 128);
    EXPECT_EQ(back.pixelColor(2, 2).red(), 255);
}

TEST(CapturePngEncoder, EmptyImageIsAWriteFailure)
{
    try {
        CapturePngEncoder::encode(QImage());
        FAIL() << "an empty image was encoded";
    } catch (const CaptureError &error) {
        EXPECT_EQ(error.code(), CaptureFailure::write);
    }
}
