#include "CapturePngEncoder.h"
#include "RenderTestMarks.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QtEndian>

#include <spng.h>
#include <zlib.h>

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

// The filter type byte of every row, read from the inflated image data.
QList<int> rowFilters(const QByteArray &png, int height, qsizetype lineBytes)
{
    QByteArray data;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const qsizetype length = qFromBigEndian<quint32>(png.constData() + at);
        if (png.mid(at + 4, 4) == "IDAT")
            data += png.mid(at + 8, length);
        at += length + 12;
    }
    QByteArray raw(height * lineBytes, '\0');
    uLongf size = uLongf(raw.size());
    if (uncompress(reinterpret_cast<Bytef *>(raw.data()), &size, reinterpret_cast<const Bytef *>(data.constData()),
                   uLong(data.size())) != Z_OK)
        return {};
    QList<int> filters;
    for (int row = 0; row < height; ++row)
        filters.append(raw.at(row * lineBytes));
    return filters;
}

// Grey rows built so that each of the five filters predicts one of them best:
// zeros after noise (none), a ramp (sub), a block that changes level beside
// noise repeated from above (paeth), the mean of the left and upper
// neighbours (average), the same again (up).
QImage oneRowPerFilter(int width)
{
    QRandomGenerator generator(3);
    QList<QList<int>> rows(7, QList<int>(width));
    for (int x = 0; x < width; ++x) {
        rows[0][x] = generator.bounded(256);
        rows[1][x] = 0;
        rows[2][x] = 3 * x % 256;
        rows[3][x] = x < width / 2 ? generator.bounded(256) : 40;
        rows[4][x] = x < width / 2 ? rows[3][x] : 200;
        rows[5][x] = ((x > 0 ? rows[5][x - 1] : 0) + rows[4][x]) / 2;
        rows[6][x] = rows[5][x];
    }
    QImage image(width, int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(rows[y][x], rows[y][x], rows[y][x]));
    }
    return image;
}

// A small screen: a gradient title bar, text in two sizes, a noisy photo.
QImage screenWithText(int width, int height, QImage::Format format)
{
    QImage image(width, height, format);
    image.fill(QColor(246, 246, 248, 230));
    QPainter painter(&image);
    QLinearGradient bar(0, 0, width, 0);
    bar.setColorAt(0, QColor(40, 90, 200));
    bar.setColorAt(1, QColor(160, 60, 180, 120));
    painter.fillRect(QRect(0, 0, width, height / 6), bar);
    QFont font(QStringLiteral("DejaVu Sans"));
    for (const int size : {11, 19}) {
        font.setPixelSize(size);
        painter.setFont(font);
        painter.drawText(QRect(8, height / 6 + size * 2, width - 16, height), Qt::TextWordWrap,
                         QStringLiteral("Select an area, add an arrow and paste the capture into the chat."));
    }
    painter.end();
    const QImage photo = noise(width / 3, height / 3, QImage::Format_RGB32)
                             .scaled(width / 2, height / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter(&image).drawImage(width / 2, height / 2, photo);
    return image;
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

TEST(CapturePngEncoder, EveryRowFilterRoundTrips)
{
    const QImage filters = oneRowPerFilter(200);
    const QByteArray png = CapturePngEncoder::encode(filters);
    EXPECT_THAT(rowFilters(png, 7, 200 * 3 + 1), testing::ElementsAre(testing::_, 0, 1, testing::_, 4, 3, 2));
    EXPECT_EQ(decode(png), filters.convertToFormat(QImage::Format_RGBA8888));

    const struct {
        const char *name;
        QImage image;
    } cases[] = {
        {"screen", screenWithText(333, 211, QImage::Format_RGB32)},
        {"translucent screen", screenWithText(333, 211, QImage::Format_ARGB32)},
        {"one row", noise(300, 1, QImage::Format_ARGB32)},
        {"one column", noise(1, 300, QImage::Format_ARGB32)},
        {"one pixel", noise(1, 1, QImage::Format_RGB32)},
        {"rows ending on a whole run of sixteen bytes", noise(17, 40, QImage::Format_RGB32)},
        {"translucent rows ending on a whole run", noise(21, 40, QImage::Format_ARGB32)},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(decode(CapturePngEncoder::encode(test.image)), test.image.convertToFormat(QImage::Format_RGBA8888));
    }
}

TEST(CapturePngEncoder, EmptyImageCannotBeEncoded)
{
    EXPECT_THAT([] { CapturePngEncoder::encode(QImage()); },
                testing::Throws<CapturePngEncodeFailure>(
                    testing::Property(&CapturePngEncodeFailure::code, CapturePngEncodeError::unencodable)));
}
