#include "CaptureImageImport.h"

#include "CaptureImportFailure.h"
#include "CaptureTiffLayout.h"
#include "PixelLimit.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <optional>

namespace {

const QByteArray pngSignature = QByteArrayLiteral("\x89PNG\r\n\x1a\n");
// Deflate's best case: a 258-byte match in two bits.
constexpr qint64 deflateMaximumRatio = 1032;
// Text chunks (tEXt, zTXt, iTXt) a file may carry, and their text in all once
// inflated: far beyond what cameras and editors write, far below what hurts.
constexpr int maximumTextChunks = 100;
constexpr qint64 maximumTextBytes = 1024 * 1024;
// An arithmetic coder may spend as little as 1/32768 bit on a decision, and
// JPEG spends at least one on every 8 x 8 block.
constexpr qint64 arithmeticBlocksPerByte = 8 * 32768;
// Huffman coding spends at least one bit on every 8 x 8 block.
constexpr qint64 huffmanBlocksPerByte = 8;

[[noreturn]] void fail(CaptureImportFailure failure)
{
    throw CaptureImportError(failure);
}

bool isAccepted(const QByteArray &format)
{
    return format == "png" || format == "jpeg" || format == "tiff";
}

struct PngChunk {
    quint32 length = 0;
    QByteArray type;
};

std::optional<PngChunk> nextChunk(QIODevice &device)
{
    const QByteArray start = device.read(8);
    if (start.size() != 8)
        return std::nullopt;
    return PngChunk{qFromBigEndian<quint32>(start.constData()), start.mid(4)};
}

// Bytes of filtered rows the IHDR chunk data promises (interlacing adds a little more);
// 0 for a size the pixel limit refuses anyway.
qint64 pngRawBytes(const QByteArray &header)
{
    const qint64 width = qFromBigEndian<quint32>(header.constData());
    const qint64 height = qFromBigEndian<quint32>(header.constData() + 4);
    if (!withinPixelLimit(width, height))
        return 0;
    const int depth = std::min<int>(quint8(header.at(8)), 16);
    const int channels = std::array{1, 0, 3, 1, 2, 0, 4}.at(std::min<size_t>(quint8(header.at(9)), 6));
    return height * (1 + (width * channels * depth + 7) / 8);
}

// How many 8 x 8 blocks of the full-resolution component one byte of
// entropy-coded data can hold under the coding a frame marker names; none for
// the frames decoders refuse on their own (lossless, hierarchical).
std::optional<qint64> jpegBlocksPerByte(int code)
{
    switch (code) {
    case 0xc0:
    case 0xc1:
    case 0xc2:
        return huffmanBlocksPerByte;
    case 0xc9:
    case 0xca:
        return arithmeticBlocksPerByte;
    }
    return std::nullopt;
}

// Whether the data after the first scan header can fill `size` under the
// frame's coding; true for anything the walk does not understand.
bool jpegDataCanFill(QIODevice &device, QSize size)
{
    if (device.read(2) != QByteArrayLiteral("\xff\xd8"))
        return true;
    std::optional<qint64> blocksPerByte;
    for (QByteArray marker = device.read(4); marker.size() == 4 && quint8(marker.at(0)) == 0xff;
         marker = device.read(4)) {
        const int code = quint8(marker.at(1));
        const int length = qFromBigEndian<quint16>(marker.constData() + 2);
        const bool frame = code >= 0xc0 && code <= 0xcf && code != 0xc4 && code != 0xc8 && code != 0xcc;
        if (frame) {
            blocksPerByte = jpegBlocksPerByte(code);
            if (!blocksPerByte)
                return true;
        }
        if (length < 2 || device.skip(length - 2) != length - 2)
            return true;
        if (code == 0xda) {
            const qint64 blocks = qint64((size.width() + 7) / 8) * ((size.height() + 7) / 8);
            const qint64 data = device.size() - device.pos();
            return !blocksPerByte || data * *blocksPerByte >= blocks;
        }
    }
    return true;
}

// What a walk over a PNG file's chunks finds, without decoding anything.
struct PngChunks {
    // No chunk claims more bytes than the file holds: decoders allocate a
    // chunk's length before they read it.
    bool fit = true;
    qint64 rawBytes = 0;
    qint64 compressed = 0;
    int textChunks = 0;
    // The text of every text chunk once inflated, counted up to just past the limit.
    qint64 textBytes = 0;
};

// Bytes `compressed` inflates to, counted up to `budget` and one more.
qint64 inflatedSize(QByteArrayView compressed, qint64 budget)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return budget + 1;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.data()));
    stream.avail_in = uInt(compressed.size());
    std::array<Bytef, 16 * 1024> out;
    qint64 total = 0;
    int status = Z_OK;
    while (status == Z_OK && total <= budget) {
        stream.next_out = out.data();
        stream.avail_out = uInt(out.size());
        status = inflate(&stream, Z_NO_FLUSH);
        total += qint64(out.size() - stream.avail_out);
    }
    inflateEnd(&stream);
    return total;
}

// The text a tEXt, zTXt or iTXt chunk's data holds, counted up to `budget` and one more.
qint64 textSize(const QByteArray &type, const QByteArray &data, qint64 budget)
{
    const qsizetype keywordEnd = data.indexOf('\0');
    if (keywordEnd < 0 || type == "tEXt")
        return data.size();
    if (type == "zTXt")
        return inflatedSize(QByteArrayView(data).sliced(std::min(keywordEnd + 2, data.size())), budget);
    // iTXt: keyword, compression flag and method, language tag, translated keyword, text.
    const bool compressed = keywordEnd + 1 < data.size() && data.at(keywordEnd + 1) != 0;
    const qsizetype languageEnd = data.indexOf('\0', keywordEnd + 3);
    const qsizetype translatedEnd = languageEnd < 0 ? -1 : data.indexOf('\0', languageEnd + 1);
    if (!compressed || translatedEnd < 0)
        return data.size();
    return translatedEnd + 1 + inflatedSize(QByteArrayView(data).sliced(translatedEnd + 1), budget);
}

bool isText(const QByteArray &type)
{
    return type == "tEXt" || type == "zTXt" || type == "iTXt";
}

// No more text than a picture needs.
bool textFits(const PngChunks &chunks)
{
    return chunks.textChunks <= maximumTextChunks && chunks.textBytes <= maximumTextBytes;
}

// Adds one text chunk, whose data and checksum follow; false once the text is
// over the limits or the chunk is cut short, which ends the walk.
bool countText(QIODevice &device, const PngChunk &chunk, PngChunks &chunks)
{
    const qint64 budget = maximumTextBytes - chunks.textBytes;
    if (++chunks.textChunks > maximumTextChunks || chunk.length > budget) {
        chunks.textBytes = std::max(chunks.textBytes, maximumTextBytes + 1);
        return false;
    }
    const QByteArray data = device.read(chunk.length);
    if (data.size() != qint64(chunk.length) || device.skip(4) != 4) {
        chunks.fit = false;
        return false;
    }
    chunks.textBytes += textSize(chunk.type, data, budget);
    return textFits(chunks);
}

// None when the file is not a PNG file with a header.
std::optional<PngChunks> walkPng(QIODevice &device)
{
    if (device.read(8) != pngSignature)
        return std::nullopt;
    const std::optional<PngChunk> first = nextChunk(device);
    if (!first || first->type != "IHDR" || first->length != 13)
        return std::nullopt;
    const QByteArray header = device.read(13);
    if (header.size() != 13)
        return std::nullopt;
    PngChunks chunks;
    chunks.rawBytes = pngRawBytes(header);
    device.skip(4);
    for (std::optional<PngChunk> chunk = nextChunk(device); chunk && chunk->type != "IEND"; chunk = nextChunk(device)) {
        if (chunk->type == "IDAT")
            chunks.compressed += chunk->length;
        if (isText(chunk->type)) {
            if (!countText(device, *chunk, chunks))
                return chunks;
            continue;
        }
        if (device.skip(qint64(chunk->length) + 4) != qint64(chunk->length) + 4) {
            chunks.fit = false;
            break;
        }
    }
    return chunks;
}

// Enough compressed data for the rows the header promises.
bool canFill(const PngChunks &chunks)
{
    return chunks.compressed * deflateMaximumRatio >= chunks.rawBytes;
}

// Refuses what the header alone gives away; leaves `device` where it was and
// returns the image's format.
QByteArray checkedFormat(QIODevice &device)
{
    const qint64 start = device.pos();
    const QByteArray format = QImageReader::imageFormat(&device);
    if (!isAccepted(format) || !device.seek(start))
        fail(CaptureImportFailure::notImage);
    // Even reading a PNG header allocates the chunks before the image data.
    const std::optional<PngChunks> png = format == "png" ? walkPng(device) : std::nullopt;
    if (!device.seek(start) || (png && (!png->fit || !textFits(*png))))
        fail(CaptureImportFailure::undecodable);
    const QSize size = QImageReader(&device, format).size();
    if (!device.seek(start) || size.isEmpty())
        fail(CaptureImportFailure::undecodable);
    if (!withinPixelLimit(size))
        fail(CaptureImportFailure::tooLarge);
    const bool tooShort = (png && !canFill(*png)) || (format == "jpeg" && !jpegDataCanFill(device, size)) ||
                          (format == "tiff" && !CaptureTiffLayout::canFill(device));
    if (tooShort || !device.seek(start))
        fail(CaptureImportFailure::undecodable);
    return format;
}

void openForReading(QFile &file)
{
    const QFileInfo info(file.fileName());
    if (!info.exists())
        fail(CaptureImportFailure::missing);
    if (!info.isFile())
        fail(CaptureImportFailure::notImage);
    if (!file.open(QIODevice::ReadOnly))
        fail(CaptureImportFailure::unreadable);
}

} // namespace

void CaptureImageImport::check(const QString &path)
{
    QFile file(path);
    openForReading(file);
    checkedFormat(file);
}

QImage CaptureImageImport::read(const QString &path)
{
    QFile file(path);
    openForReading(file);
    return read(file);
}

QImage CaptureImageImport::read(QIODevice &device)
{
    QImageReader reader(&device, checkedFormat(device));
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        fail(CaptureImportFailure::undecodable);
    return image;
}

bool CaptureImageImport::pngCanFill(QIODevice &device)
{
    const std::optional<PngChunks> chunks = walkPng(device);
    return !chunks || (chunks->fit && textFits(*chunks) && canFill(*chunks));
}
