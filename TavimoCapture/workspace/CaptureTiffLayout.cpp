#include "CaptureTiffLayout.h"

#include "PixelLimit.h"

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {

enum Tag : quint16 {
    imageWidth = 256,
    imageLength = 257,
    bitsPerSample = 258,
    compression = 259,
    stripOffsets = 273,
    samplesPerPixel = 277,
    stripByteCounts = 279,
    tileWidth = 322,
    tileLength = 323,
    tileOffsets = 324,
    tileByteCounts = 325,
};

enum Compression : quint32 {
    none = 1,
    ccittRle = 2,
    ccittFax3 = 3,
    ccittFax4 = 4,
    lzw = 5,
    oldJpeg = 6,
    jpeg = 7,
    adobeDeflate = 8,
    ccittRleWord = 32771,
    packBits = 32773,
    deflate = 32946,
};

// Deflate's best case: a 258-byte match in two bits.
constexpr qint64 deflateMaximumRatio = 1032;
// A 12-bit code stands for at most the 4096 bytes its table can have grown to.
constexpr qint64 lzwMaximumRatio = 4096;
// A run of 128 equal bytes in two.
constexpr qint64 packBitsMaximumRatio = 64;
// An arithmetic coder may spend as little as 1/32768 bit on a decision, and
// JPEG spends at least one on every 8 x 8 block.
constexpr qint64 jpegBlocksPerByte = 8 * 32768;
// A tile this large is allowed even beyond the image; larger ones only within it.
constexpr qint64 largeTilePixels = 1024 * 1024;
// The most entries a first directory reasonably has.
constexpr qint64 maximumEntries = 4096;

class Directory {
public:
    Directory(QIODevice &device, QByteArray order, bool big) : m_device(device), m_order(order), m_big(big) {}

    // False when the directory lies outside the file.
    bool read(quint64 offset);
    bool has(Tag tag) const { return m_entries.contains(tag); }
    // Every value of `tag`; none when they lie outside the file or are not whole numbers.
    std::optional<std::vector<quint64>> values(Tag tag) const;
    quint64 first(Tag tag, quint64 fallback) const;
    quint64 largest(Tag tag, quint64 fallback) const;

private:
    struct Entry {
        quint16 type = 0;
        quint64 count = 0;
        QByteArray field;
    };

    quint64 number(const char *bytes, int size) const;
    int fieldSize() const { return m_big ? 8 : 4; }

    QIODevice &m_device;
    QByteArray m_order;
    bool m_big;
    std::map<quint16, Entry> m_entries;
};

int typeSize(quint16 type)
{
    switch (type) {
    case 1: // byte
        return 1;
    case 3: // short
        return 2;
    case 4:  // long
    case 13: // directory
        return 4;
    case 16: // long8
    case 18: // directory8
        return 8;
    }
    return 0;
}

quint64 Directory::number(const char *bytes, int size) const
{
    quint64 value = 0;
    for (int index = 0; index < size; ++index) {
        const int byte = m_order == "II" ? size - 1 - index : index;
        value = (value << 8) | quint8(bytes[byte]);
    }
    return value;
}

bool Directory::read(quint64 offset)
{
    const int countSize = m_big ? 8 : 2;
    const int entrySize = m_big ? 20 : 12;
    if (offset > quint64(m_device.size()) || !m_device.seek(qint64(offset)))
        return false;
    const QByteArray countBytes = m_device.read(countSize);
    if (countBytes.size() != countSize)
        return false;
    const quint64 count = number(countBytes.constData(), countSize);
    if (count > maximumEntries)
        return false;
    const QByteArray entries = m_device.read(qint64(count) * entrySize);
    if (entries.size() != qint64(count) * entrySize)
        return false;
    for (qint64 index = 0; index < qint64(count); ++index) {
        const char *entry = entries.constData() + index * entrySize;
        m_entries[quint16(number(entry, 2))] = Entry{quint16(number(entry + 2, 2)), number(entry + 4, fieldSize()),
                                                     QByteArray(entry + 4 + fieldSize(), fieldSize())};
    }
    return true;
}

std::optional<std::vector<quint64>> Directory::values(Tag tag) const
{
    const auto found = m_entries.find(tag);
    if (found == m_entries.end())
        return std::vector<quint64>();
    const Entry &entry = found->second;
    const int size = typeSize(entry.type);
    const quint64 fileSize = quint64(m_device.size());
    if (size == 0 || entry.count > fileSize / size)
        return std::nullopt;
    QByteArray bytes = entry.field;
    if (entry.count * size > quint64(fieldSize())) {
        const quint64 offset = number(entry.field.constData(), fieldSize());
        if (offset > fileSize - entry.count * size || !m_device.seek(qint64(offset)))
            return std::nullopt;
        bytes = m_device.read(qint64(entry.count) * size);
        if (bytes.size() != qint64(entry.count) * size)
            return std::nullopt;
    }
    std::vector<quint64> values(entry.count);
    for (quint64 index = 0; index < entry.count; ++index)
        values[index] = number(bytes.constData() + index * size, size);
    return values;
}

quint64 Directory::first(Tag tag, quint64 fallback) const
{
    const std::optional<std::vector<quint64>> all = values(tag);
    return all && !all->empty() ? all->front() : fallback;
}

quint64 Directory::largest(Tag tag, quint64 fallback) const
{
    const std::optional<std::vector<quint64>> all = values(tag);
    return all && !all->empty() ? std::ranges::max(*all) : fallback;
}

qint64 roundedUp(qint64 value, qint64 step)
{
    return (value + step - 1) / step * step;
}

// The fewest bytes `compression` can hold the image in; 0 for the codecs that
// promise no ratio.
qint64 leastData(quint64 compression, qint64 width, qint64 height, qint64 rowBytes)
{
    const qint64 raw = height * rowBytes;
    switch (compression) {
    case none:
        // Subsampled YCbCr stores as little as three eighths of its samples.
        return raw / 3;
    case packBits:
        return raw / packBitsMaximumRatio;
    case lzw:
        return raw / lzwMaximumRatio;
    case adobeDeflate:
    case deflate:
        return raw / deflateMaximumRatio;
    case oldJpeg:
    case jpeg:
        return ((width + 7) / 8) * ((height + 7) / 8) / jpegBlocksPerByte;
    case ccittRle:
    case ccittFax3:
    case ccittFax4:
    case ccittRleWord:
        // At least one bit a row.
        return height / 8;
    }
    return 0;
}

// The strips or tiles of the page all lie within the file; their bytes in all.
std::optional<qint64> dataBytes(const Directory &directory, Tag offsetsTag, Tag countsTag, qint64 fileSize)
{
    const std::optional<std::vector<quint64>> offsets = directory.values(offsetsTag);
    const std::optional<std::vector<quint64>> counts = directory.values(countsTag);
    if (!offsets || !counts || offsets->empty())
        return std::nullopt;
    // Decoders estimate missing counts from the rows, which the size check below bounds.
    if (counts->empty())
        return fileSize;
    if (counts->size() != offsets->size())
        return std::nullopt;
    qint64 total = 0;
    for (size_t index = 0; index < offsets->size(); ++index) {
        const quint64 offset = (*offsets)[index];
        const quint64 count = (*counts)[index];
        if (count > quint64(fileSize) || offset > quint64(fileSize) - count)
            return std::nullopt;
        total += qint64(count);
    }
    return total;
}

bool tilesFit(const Directory &directory, qint64 width, qint64 height)
{
    const qint64 tileWide = qint64(directory.first(tileWidth, 0));
    const qint64 tileHigh = qint64(directory.first(tileLength, 0));
    if (tileWide < 1 || tileHigh < 1 || tileWide > maximumPixelCount || tileHigh > maximumPixelCount)
        return false;
    return tileWide * tileHigh <= largeTilePixels ||
           (tileWide <= roundedUp(width, 16) && tileHigh <= roundedUp(height, 16));
}

bool pageCanFill(const Directory &directory, qint64 fileSize)
{
    const qint64 width = qint64(directory.first(imageWidth, 0));
    const qint64 height = qint64(directory.first(imageLength, 0));
    // Sizes beyond the limit are refused as too large once the header is read.
    if (!withinPixelLimit(width, height))
        return true;
    const bool tiled = directory.has(tileWidth) || directory.has(tileOffsets);
    if (tiled && !tilesFit(directory, width, height))
        return false;
    const std::optional<qint64> data = tiled ? dataBytes(directory, tileOffsets, tileByteCounts, fileSize)
                                             : dataBytes(directory, stripOffsets, stripByteCounts, fileSize);
    if (!data)
        return false;
    const qint64 samples = qint64(std::clamp<quint64>(directory.first(samplesPerPixel, 1), 1, 16));
    const qint64 depth = qint64(std::clamp<quint64>(directory.largest(bitsPerSample, 1), 1, 64));
    const qint64 rowBytes = (width * samples * depth + 7) / 8;
    return *data >= leastData(directory.first(compression, none), width, height, rowBytes);
}

} // namespace

bool CaptureTiffLayout::canFill(QIODevice &device)
{
    const QByteArray header = device.read(16);
    if (header.size() < 8 || (!header.startsWith("II") && !header.startsWith("MM")))
        return true;
    const QByteArray order = header.left(2);
    const auto number16 = [&](int at) {
        return order == "II" ? qFromLittleEndian<quint16>(header.constData() + at)
                             : qFromBigEndian<quint16>(header.constData() + at);
    };
    const quint16 magic = number16(2);
    if (magic != 42 && (magic != 43 || header.size() < 16))
        return true;
    const bool big = magic == 43;
    const quint64 first = big ? (order == "II" ? qFromLittleEndian<quint64>(header.constData() + 8)
                                               : qFromBigEndian<quint64>(header.constData() + 8))
                              : (order == "II" ? qFromLittleEndian<quint32>(header.constData() + 4)
                                               : qFromBigEndian<quint32>(header.constData() + 4));
    Directory directory(device, order, big);
    return directory.read(first) && pageCanFill(directory, device.size());
}
