#include "TestImageFiles.h"

#include <QBuffer>
#include <QtEndian>

#include <jpeglib.h>
#include <zlib.h>

#include <array>
#include <cstdlib>
#include <vector>

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

QByteArray littleEndian(quint32 value, int bytes)
{
    QByteArray data(bytes, Qt::Uninitialized);
    for (int index = 0; index < bytes; ++index)
        data[index] = char(value >> (8 * index));
    return data;
}

// One IFD entry: tag, type (3 short, 4 long), count 1, value.
QByteArray tiffEntry(quint16 tag, quint16 type, quint32 value)
{
    return littleEndian(tag, 2) + littleEndian(type, 2) + littleEndian(1, 4) + littleEndian(value, 4);
}

// `rows` copies of `row` as one zlib stream, compressed row by row so that
// huge images never exist uncompressed.
QByteArray zlibRows(const QByteArray &row, int rows)
{
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    QByteArray compressed;
    std::array<char, 1 << 16> buffer;
    int status = Z_OK;
    for (int y = 0; y < rows && status != Z_STREAM_END; ++y) {
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(row.constData()));
        stream.avail_in = uInt(row.size());
        const int flush = y + 1 == rows ? Z_FINISH : Z_NO_FLUSH;
        do {
            stream.next_out = reinterpret_cast<Bytef *>(buffer.data());
            stream.avail_out = uInt(buffer.size());
            status = deflate(&stream, flush);
            compressed.append(buffer.data(), qsizetype(buffer.size() - stream.avail_out));
        } while (stream.avail_out == 0 || (flush == Z_FINISH && status == Z_OK));
    }
    deflateEnd(&stream);
    return compressed;
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
    QByteArray row(1 + (size.width() + 7) / 8, 0); // filter byte 0: none
    return pngStart(size) + pngChunk("IDAT", zlibRows(row, size.height())) + pngChunk("IEND", QByteArray());
}

QByteArray pngClaiming(const QByteArray &png, QSize size)
{
    // Signature (8), IHDR length and type (8), then width and height.
    const QByteArray header =
        pngChunk("IHDR", bigEndian(quint32(size.width())) + bigEndian(quint32(size.height())) + png.mid(24, 5));
    return png.left(8) + header + png.mid(8 + 25);
}

QByteArray tiffClaiming(QSize size, int pages)
{
    constexpr int entries = 10;
    constexpr int directorySize = 2 + entries * 12 + 4;
    const QByteArray strip(16 * 16, char(0x80));
    QByteArray tiff = QByteArray("II*\0", 4) + littleEndian(8 + quint32(strip.size()), 4) + strip;
    for (int page = 0; page < pages; ++page) {
        const quint32 next = page + 1 < pages ? quint32(tiff.size() + directorySize) : 0;
        tiff += littleEndian(entries, 2) + tiffEntry(256, 4, quint32(size.width())) +
                tiffEntry(257, 4, quint32(size.height())) + tiffEntry(258, 3, 8) + tiffEntry(259, 3, 1) +
                tiffEntry(262, 3, 1) + tiffEntry(273, 4, 8) + tiffEntry(277, 3, 1) +
                tiffEntry(278, 4, quint32(size.height())) + tiffEntry(279, 4, quint32(strip.size())) +
                tiffEntry(284, 3, 1) + littleEndian(next, 4);
    }
    return tiff;
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

QByteArray arithmeticJpeg(QSize size)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&info, &buffer, &length);
    info.image_width = JDIMENSION(size.width());
    info.image_height = JDIMENSION(size.height());
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    info.arith_code = TRUE;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(size_t(size.width()), JSAMPLE(128));
    JSAMPROW rows[] = {row.data()};
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, rows, 1);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray jpeg(reinterpret_cast<const char *>(buffer), qsizetype(length));
    std::free(buffer);
    return jpeg;
}

QByteArray jpegWithoutScanClaiming(const QByteArray &jpeg, QSize size)
{
    QByteArray claiming = jpeg;
    // Frame header (any SOF): FF Cn, length (2), precision (1), height (2), width (2).
    for (qsizetype at = 2; at + 4 <= claiming.size();) {
        const int code = quint8(claiming.at(at + 1));
        const int length = qFromBigEndian<quint16>(claiming.constData() + at + 2);
        if (code >= 0xc0 && code <= 0xcf && code != 0xc4 && code != 0xc8 && code != 0xcc) {
            qToBigEndian(quint16(size.height()), claiming.data() + at + 5);
            qToBigEndian(quint16(size.width()), claiming.data() + at + 7);
        }
        if (code == 0xda)
            return claiming.left(at + 2 + length);
        at += 2 + length;
    }
    return claiming;
}

QByteArray tiffPage(std::initializer_list<TiffField> fields, const QByteArray &data)
{
    QByteArray tiff = QByteArray("II*\0", 4) + littleEndian(8 + quint32(data.size()), 4) + data;
    tiff += littleEndian(quint32(fields.size()), 2);
    for (const TiffField &field : fields) {
        tiff += littleEndian(field.tag, 2) + littleEndian(field.type, 2) + littleEndian(field.count, 4) +
                littleEndian(field.value, 4);
    }
    return tiff + littleEndian(0, 4);
}

QByteArray deflateTiffClaiming(QSize size)
{
    const auto width = quint32(size.width());
    const auto height = quint32(size.height());
    return tiffPage({{256, 3, width},
                     {257, 3, height},
                     {258, 3, 8},
                     {259, 3, 8},
                     {262, 3, 2},
                     {273, 4, 8},
                     {277, 3, 3},
                     {278, 3, height},
                     {279, 4, 256}},
                    QByteArray(256, char(0x80)));
}

QByteArray pngWithChunks(const QByteArray &png, const char *type, const QByteArray &data, int copies)
{
    // Signature (8) and IHDR chunk (25).
    return png.left(33) + pngChunk(type, data).repeated(copies) + png.mid(33);
}

QByteArray zlibText(const QByteArray &text)
{
    return zlibRows(text, 1);
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
