#include "CaptureImageImport.h"

#include "CaptureImportFailure.h"
#include "PixelLimit.h"

#include <QFile>
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

// Bytes of filtered rows the IHDR chunk data promises (interlacing adds a little more).
qint64 pngRawBytes(const QByteArray &header)
{
    const qint64 width = qFromBigEndian<quint32>(header.constData());
    const qint64 height = qFromBigEndian<quint32>(header.constData() + 4);
    const int depth = quint8(header.at(8));
    const int channels = std::array{1, 0, 3, 1, 2, 0, 4}.at(std::min<size_t>(quint8(header.at(9)), 6));
    return height * (1 + (width * channels * depth + 7) / 8);
}

// False when the IDAT chunks hold fewer bytes than deflate needs for the rows
// the header promises: such a file cannot fill its image, however it decodes.
bool pngDataCanFill(QIODevice &device)
{
    if (device.read(8) != pngSignature)
        return true;
    const std::optional<PngChunk> first = nextChunk(device);
    if (!first || first->type != "IHDR" || first->length != 13)
        return true;
    const QByteArray header = device.read(13);
    if (header.size() != 13)
        return true;
    const qint64 rawBytes = pngRawBytes(header);
    qint64 compressed = 0;
    device.skip(4);
    for (std::optional<PngChunk> chunk = nextChunk(device); chunk && chunk->type != "IEND"; chunk = nextChunk(device)) {
        if (chunk->type == "IDAT")
            compressed += chunk->length;
        if (device.skip(qint64(chunk->length) + 4) != qint64(chunk->length) + 4)
            break;
    }
    return compressed * deflateMaximumRatio >= rawBytes;
}

} // namespace

QImage CaptureImageImport::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(CaptureImportFailure::tooLarge);
    return read(file);
}

QImage CaptureImageImport::read(QIODevice &device)
{
    const qint64 start = device.pos();
    const QByteArray format = QImageReader::imageFormat(&device);
    if (!isAccepted(format) || !withinPixelLimit(QImageReader(&device, format).size()) || !device.seek(start))
        fail(CaptureImportFailure::tooLarge);
    if (format == "png" && (!pngDataCanFill(device) || !device.seek(start)))
        fail(CaptureImportFailure::undecodable);
    QImageReader reader(&device, format);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        fail(CaptureImportFailure::undecodable);
    return image;
}
