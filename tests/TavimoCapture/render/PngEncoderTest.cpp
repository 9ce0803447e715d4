#include "CaptureFailure.h"
#include "CapturePngEncoder.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>

#include <spng.h>

#include <gtest/gtest.h>

namespace {

QImage decode(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "png");
    return reader.read();
}

// A second, strict decoder: checks every CRC and the Adler-32 of the image data.
QImage decodeStrictly(const QByteArray &bytes)
{
    spng_ctx *context = spng_ctx_new(0);
    spng_set_crc_action(context, SPNG_CRC_ERROR, SPNG_CRC_ERROR);
    spng_set_png_buffer(context, bytes.constData(), size_t(bytes.size()));
    spng_ihdr header{};
    size_t size = 0;
    QImage image;
    if (spng_get_ihdr(context, &header) == 0 && spng_decoded_image_size(context, SPNG_FMT_RGBA8, &size) == 0) {
        image = QImage(int(header.width), int(header.height), QImage::Format_RGBA8888);
        if (spng_decode_image(context, image.bits(), size, SPNG_FMT_RGBA8, 0) != 0)
            image = QImage();
    }
    spng_ctx_free(context);
    return image;
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

// Noise rows that repeat within the deflate window, so each band refers back
// into the rows before it: a wrong dictionary would decode to other pixels.
QImage repeating(int width, int height, QImage::Format format)
{
    const QImage pattern = noise(width, 4, format);
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        memcpy(image.scanLine(y), pattern.constScanLine((y * 3) % 4), size_t(image.bytesPerLine()));
    return image;
}

char colorType(const QByteArray &png)
{
    return png.at(8 + 8 + 9);
}

} // namespace

TEST(CapturePngEncoder, RoundTripKeepsEveryPixelAndAlpha)
{
    const QImage translucent = noise(97, 61, QImage::Format_ARGB32);
    const QByteArray translucentPng = CapturePngEncoder::encode(translucent);
    EXPECT_EQ(colorType(translucentPng), 6);
    const QImage decodedTranslucent = decode(translucentPng);
    ASSERT_FALSE(decodedTranslucent.isNull());
    EXPECT_EQ(decodedTranslucent.convertToFormat(QImage::Format_ARGB32), translucent);

    const QImage opaque = noise(64, 33, QImage::Format_RGB32);
    const QByteArray opaquePng = CapturePngEncoder::encode(opaque);
    EXPECT_EQ(colorType(opaquePng), 2);
    EXPECT_EQ(decode(opaquePng).convertToFormat(QImage::Format_RGB32), opaque);

    QImage premultiplied(5, 5, QImage::Format_ARGB32_Premultiplied);
    premultiplied.fill(QColor(255, 0, 0, 128));
    const QImage back = decode(CapturePngEncoder::encode(premultiplied));
    EXPECT_EQ(back.pixelColor(2, 2).alpha(), 128);
    EXPECT_EQ(back.pixelColor(2, 2).red(), 255);

    QImage grey(3, 2, QImage::Format_Grayscale8);
    grey.fill(77);
    EXPECT_EQ(decode(CapturePngEncoder::encode(grey)).pixel(2, 1), qRgb(77, 77, 77));
}

TEST(CapturePngEncoder, LargeImagesJoinTheirBandsIntoOneValidStream)
{
    // Several megabytes: compressed in bands on every core.
    const QImage translucent = repeating(1531, 977, QImage::Format_ARGB32);
    const QByteArray png = CapturePngEncoder::encode(translucent);
    EXPECT_EQ(decodeStrictly(png).convertToFormat(QImage::Format_ARGB32), translucent);
    EXPECT_EQ(decode(png).convertToFormat(QImage::Format_ARGB32), translucent);
    // Each band is primed with the data before it: unprimed bands would start with noise again.
    EXPECT_LT(png.size(), 200 * 1024);

    // Opaque premultiplied captures are written as RGB.
    QImage opaque = repeating(2000, 700, QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QByteArray opaquePng = CapturePngEncoder::encode(opaque);
    EXPECT_EQ(colorType(opaquePng), 2);
    EXPECT_EQ(decodeStrictly(opaquePng).convertToFormat(QImage::Format_ARGB32_Premultiplied), opaque);

    // One translucent pixel in the last rows keeps the alpha channel.
    opaque.setPixel(1999, 699, qRgba(0, 0, 0, 0));
    const QByteArray translucentPng = CapturePngEncoder::encode(opaque);
    EXPECT_EQ(colorType(translucentPng), 6);
    EXPECT_EQ(decodeStrictly(translucentPng).convertToFormat(QImage::Format_ARGB32_Premultiplied), opaque);
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
