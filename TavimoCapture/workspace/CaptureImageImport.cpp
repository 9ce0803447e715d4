#include "CaptureImageImport.h"

#include "CaptureImportFailure.h"
#include "PixelLimit.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <optional>

namespace {

const QByteArray pngSignature = QByteArrayLiteral("\x89PNG\r\n\x1a\n");
// Deflate's best case: a 258-byte match in two bits.
constexpr qint64 deflateMaximumRatio = 1032;

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

// Huffman coding spends at least one bit on every 8 x 8 block of the
// full-resolution component; a file smaller than that cannot fill its size.
// Arithmetic coding has no such floor and is let through.
bool jpegDataCanFill(QIODevice &device, QSize size)
{
    const qint64 bytes = device.size() - device.pos();
    if (device.read(2) != QByteArrayLiteral("\xff\xd8"))
        return true;
    for (QByteArray marker = device.read(4); marker.size() == 4 && quint8(marker.at(0)) == 0xff;
         marker = device.read(4)) {
        const int code = quint8(marker.at(1));
        if (code >= 0xc0 && code <= 0xc2) {
            const qint64 blocks = qint64((size.width() + 7) / 8) * ((size.height() + 7) / 8);
            return bytes * 8 >= blocks;
        }
        const int length = qFromBigEndian<quint16>(marker.constData() + 2);
        const bool otherFrame = code >= 0xc3 && code <= 0xcf && code != 0xc4 && code != 0xc8 && code != 0xcc;
        if (otherFrame || code == 0xda || length < 2 || device.skip(length - 2) != length - 2)
            return true;
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
};

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
    if (!device.seek(start) || (png && !png->fit))
        fail(CaptureImportFailure::undecodable);
    const QSize size = QImageReader(&device, format).size();
    if (!device.seek(start) || size.isEmpty())
        fail(CaptureImportFailure::undecodable);
    if (!withinPixelLimit(size))
        fail(CaptureImportFailure::tooLarge);
    const bool tooShort = (png && !canFill(*png)) || (format == "jpeg" && !jpegDataCanFill(device, size));
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
    return !chunks || (chunks->fit && canFill(*chunks));
}
