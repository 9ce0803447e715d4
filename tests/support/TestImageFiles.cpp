#include "TestImageFiles.h"

#include <QBuffer>
#include <QtEndian>

#include <zlib.h>

namespace TestImageFiles {
namespace {

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

// One PNG chunk: length, type, data and checksum.
QByteArray pngChunk(const char *type, const QByteArray &data)
{
    const QByteArray typed = QByteArray(type) + data;
    const auto crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(typed.constData()), uInt(typed.size())));
    return bigEndian(quint32(data.size())) + typed + bigEndian(crc);
}

QByteArray pngStart(QSize size)
{
    // Bit depth 1, two palette colours (white, black), deflate, no interlace:
    // decoded at one byte a pixel or less.
    const QByteArray header =
        bigEndian(quint32(size.width())) + bigEndian(quint32(size.height())) + QByteArray::fromHex("0103000000");
    return QByteArray::fromHex("89504e470d0a1a0a") + pngChunk("IHDR", header) +
           pngChunk("PLTE", QByteArray::fromHex("ffffff000000"));
}

} // namespace

QByteArray pngHeaderOnly(QSize size)
{
    return pngStart(size) + pngChunk("IDAT", QByteArray::fromHex("deadbeef"));
}

QByteArray whitePng(QSize size)
{
    QByteArray row(1 + (size.width() + 7) / 8, 0);
    row[0] = 0; // no filter
    const QByteArray pixels = row.repeated(size.height());
    // qCompress prefixes the zlib stream with its own length.
    const QByteArray stream = qCompress(pixels, 9).mid(4);
    return pngStart(size) + pngChunk("IDAT", stream) + pngChunk("IEND", QByteArray());
}

QByteArray jpegClaiming(QSize size)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QByteArray jpeg = encoded(image, "jpeg");
    // Baseline frame header: FF C0, length (2), precision (1), height (2), width (2).
    const qsizetype frame = jpeg.indexOf(QByteArray::fromHex("ffc0"));
    qToBigEndian(quint16(size.height()), jpeg.data() + frame + 5);
    qToBigEndian(quint16(size.width()), jpeg.data() + frame + 7);
    return jpeg;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace TestImageFiles
