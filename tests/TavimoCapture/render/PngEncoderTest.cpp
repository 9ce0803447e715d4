#include "CapturePngEncoder.h"
#include "RenderTestMarks.h"

#include <QRandomGenerator>

#include <spng.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace {

// A strict decoder: checks every CRC and the Adler-32 of the image data.
QImage decode(const QByteArray &bytes)
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

// Noise whose rows repeat every `period` rows. Within the deflate window each
// band refers back into the rows before it: a wrong dictionary decodes to other pixels.
QImage noise(int width, int height, QImage::Format format, int period = std::numeric_limits<int>::max())
{
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y) {
        QRandomGenerator generator(quint32(y % period));
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = generator.generate();
    }
    return image;
}

char colorType(const QByteArray &png)
{
    return png.at(8 + 8 + 9);
}

} // namespace

TEST(CapturePngEncoder, RoundTripKeepsEveryPixelAndAlpha)
{
    // Several megabytes are compressed in bands on every core.
    const QImage bands = noise(1531, 977, QImage::Format_ARGB32, 4);
    const QImage opaqueBands =
        noise(2000, 700, QImage::Format_RGB32, 4).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage clearLastPixel = opaqueBands;
    clearLastPixel.setPixel(1999, 699, qRgba(0, 0, 0, 0));
    const struct {
        const char *name;
        QImage image;
        char colorType;
    } cases[] = {
        {"translucent", noise(97, 61, QImage::Format_ARGB32), 6},
        {"opaque", noise(64, 33, QImage::Format_RGB32), 2},
        {"premultiplied", filledImage(5, 5, QColor(255, 0, 0, 128)), 6},
        {"grey", filledImage(3, 2, QColor(77, 77, 77)).convertToFormat(QImage::Format_Grayscale8), 2},
        {"translucent bands", bands, 6},
        {"opaque premultiplied bands", opaqueBands, 2},
        {"one clear pixel in the last band", clearLastPixel, 6},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        const QByteArray png = CapturePngEncoder::encode(test.image);
        EXPECT_EQ(colorType(png), test.colorType);
        EXPECT_EQ(decode(png), test.image.convertToFormat(QImage::Format_RGBA8888));
    }
    // Each band is primed with the data before it: unprimed bands would start with noise again.
    EXPECT_LT(CapturePngEncoder::encode(bands).size(), 200 * 1024);
}

TEST(CapturePngEncoder, EmptyImageCannotBeEncoded)
{
    EXPECT_THAT([] { CapturePngEncoder::encode(QImage()); },
                testing::Throws<CapturePngEncodeFailure>(
                    testing::Property(&CapturePngEncodeFailure::code, CapturePngEncodeError::unencodable)));
}
