#include "CapturePngEncoder.h"

#include "CapturePngEncodeError.h"

#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>
#include <QtEndian>

#include <zlib.h>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <new>
#include <vector>

// The image is cut into bands of rows compressed in parallel. Each band is a
// raw deflate stream primed with the 32 KiB before it and ended by a sync flush,
// so the bands join into one zlib stream whose Adler-32 is combined from theirs.
namespace {

constexpr char signature[] = "\x89PNG\r\n\x1a\n";
// Level 1 writes files about 3 % larger than level 2 in 12 % less time.
constexpr int compressionLevel = 1;
constexpr int windowBits = 15;
constexpr int memoryLevel = 8;
constexpr qsizetype dictionarySize = 32 * 1024;
constexpr qsizetype minimumBandBytes = 512 * 1024;
constexpr qsizetype batchBytes = 256 * 1024;
constexpr int bandsPerThread = 4;
// Deflate, 32 KiB window, the fastest level; the header is a multiple of 31.
constexpr uchar zlibHeader[] = {0x78, 0x01};

[[noreturn]] void fail()
{
    throw CapturePngEncodeFailure(CapturePngEncodeError::unencodable);
}

struct Pixels {
    QImage image;
    bool opaque = true;
    int channels() const { return opaque ? 3 : 4; }
    qsizetype rowBytes() const { return qsizetype(image.width()) * channels(); }
};

struct Band {
    int firstRow = 0;
    int rowCount = 0;
    bool opaque = true;
    QByteArray compressed;
    uLong adler = 0;
    qsizetype length = 0;
    bool failed = false;
};

QImage asArgb32(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGB32:
        return image;
    default:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
}

bool rowsOpaque(const QImage &image, int firstRow, int rowCount)
{
    for (int y = firstRow; y < firstRow + rowCount; ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        if (!std::all_of(in, in + image.width(), [](QRgb pixel) { return qAlpha(pixel) == 255; }))
            return false;
    }
    return true;
}

// One row as PNG samples: RGB, or RGBA with straight alpha.
void packRow(const Pixels &pixels, int y, uchar *out)
{
    const auto *in = reinterpret_cast<const QRgb *>(pixels.image.constScanLine(y));
    const int width = pixels.image.width();
    if (pixels.opaque) {
        for (int x = 0; x < width; ++x, out += 3) {
            out[0] = uchar(qRed(in[x]));
            out[1] = uchar(qGreen(in[x]));
            out[2] = uchar(qBlue(in[x]));
        }
        return;
    }
    const bool premultiplied = pixels.image.format() == QImage::Format_ARGB32_Premultiplied;
    for (int x = 0; x < width; ++x, out += 4) {
        const QRgb pixel = premultiplied ? qUnpremultiply(in[x]) : in[x];
        out[0] = uchar(qRed(pixel));
        out[1] = uchar(qGreen(pixel));
        out[2] = uchar(qBlue(pixel));
        out[3] = uchar(qAlpha(pixel));
    }
}

enum class RowFilterType : uchar { none, sub, up, average, paeth };
constexpr int filterTypeCount = 5;

int paethPredictor(int left, int above, int aboveLeft)
{
    const int toLeft = std::abs(above - aboveLeft);
    const int toAbove = std::abs(left - aboveLeft);
    const int toAboveLeft = std::abs(left + above - 2 * aboveLeft);
    if (toLeft <= toAbove && toLeft <= toAboveLeft)
        return left;
    return toAbove <= toAboveLeft ? above : aboveLeft;
}

using FilterCosts = std::array<quint64, filterTypeCount>;

// The filtered byte read as a signed value, without its sign.
uint absoluteByte(int difference)
{
    return uint(std::abs(int(qint8(uchar(difference)))));
}

// Adds each filter's sum of absolute filtered bytes over [from, to), from at
// least one pixel into the row.
void addCosts(const uchar *row, const uchar *above, qsizetype from, qsizetype to, int pixelBytes, FilterCosts &costs)
{
    for (qsizetype index = from; index < to; ++index) {
        const int x = row[index];
        const int left = row[index - pixelBytes];
        const int up = above[index];
        costs[0] += absoluteByte(x);
        costs[1] += absoluteByte(x - left);
        costs[2] += absoluteByte(x - up);
        costs[3] += absoluteByte(x - (left + up) / 2);
        costs[4] += absoluteByte(x - paethPredictor(left, up, above[index - pixelBytes]));
    }
}

#ifdef __SSE2__
// The same sums sixteen bytes at a time: choosing filters costs less than a
// quarter of the time deflate takes.
__m128i absoluteBytes(__m128i difference)
{
    return _mm_min_epu8(difference, _mm_sub_epi8(_mm_setzero_si128(), difference));
}

__m128i absolute16(__m128i value)
{
    return _mm_max_epi16(value, _mm_sub_epi16(_mm_setzero_si128(), value));
}

__m128i paethPredictor16(__m128i left, __m128i up, __m128i upLeft)
{
    const __m128i toLeft = absolute16(_mm_sub_epi16(up, upLeft));
    const __m128i toAbove = absolute16(_mm_sub_epi16(left, upLeft));
    const __m128i toAboveLeft = absolute16(_mm_sub_epi16(_mm_add_epi16(left, up), _mm_add_epi16(upLeft, upLeft)));
    const __m128i notLeft = _mm_or_si128(_mm_cmpgt_epi16(toLeft, toAbove), _mm_cmpgt_epi16(toLeft, toAboveLeft));
    const __m128i notAbove = _mm_cmpgt_epi16(toAbove, toAboveLeft);
    const __m128i aboveOrCorner = _mm_or_si128(_mm_andnot_si128(notAbove, up), _mm_and_si128(notAbove, upLeft));
    return _mm_or_si128(_mm_andnot_si128(notLeft, left), _mm_and_si128(notLeft, aboveOrCorner));
}

__m128i loadBytes(const uchar *bytes)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes));
}

// PNG's average rounds down; _mm_avg_epu8 rounds up.
__m128i averageOf(__m128i left, __m128i up)
{
    return _mm_sub_epi8(_mm_avg_epu8(left, up), _mm_and_si128(_mm_xor_si128(left, up), _mm_set1_epi8(1)));
}

__m128i paethOf(__m128i left, __m128i up, __m128i upLeft)
{
    const __m128i zero = _mm_setzero_si128();
    return _mm_packus_epi16(
        paethPredictor16(_mm_unpacklo_epi8(left, zero), _mm_unpacklo_epi8(up, zero), _mm_unpacklo_epi8(upLeft, zero)),
        paethPredictor16(_mm_unpackhi_epi8(left, zero), _mm_unpackhi_epi8(up, zero), _mm_unpackhi_epi8(upLeft, zero)));
}

void addCostsSimd(const uchar *row, const uchar *above, qsizetype from, qsizetype to, int pixelBytes,
                  FilterCosts &costs)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i sums[filterTypeCount] = {zero, zero, zero, zero, zero};
    const auto add = [zero](__m128i &sum, __m128i filtered) {
        sum = _mm_add_epi64(sum, _mm_sad_epu8(absoluteBytes(filtered), zero));
    };
    qsizetype index = from;
    for (; index + 16 <= to; index += 16) {
        const __m128i x = loadBytes(row + index);
        const __m128i left = loadBytes(row + index - pixelBytes);
        const __m128i up = loadBytes(above + index);
        const __m128i upLeft = loadBytes(above + index - pixelBytes);
        add(sums[0], x);
        add(sums[1], _mm_sub_epi8(x, left));
        add(sums[2], _mm_sub_epi8(x, up));
        add(sums[3], _mm_sub_epi8(x, averageOf(left, up)));
        add(sums[4], _mm_sub_epi8(x, paethOf(left, up, upLeft)));
    }
    for (int type = 0; type < filterTypeCount; ++type) {
        alignas(16) std::array<quint64, 2> lanes;
        _mm_store_si128(reinterpret_cast<__m128i *>(lanes.data()), sums[type]);
        costs[type] += lanes[0] + lanes[1];
    }
    addCosts(row, above, index, to, pixelBytes, costs);
}

// Filters whole runs of sixteen bytes from `from` on, at least one pixel into
// the row; returns where the run stopped.
template <typename Predict>
qsizetype filterRunsSimd(const uchar *row, const uchar *above, qsizetype from, qsizetype length, int pixelBytes,
                         uchar *out, Predict predict)
{
    qsizetype index = from;
    for (; index + 16 <= length; index += 16) {
        const __m128i predicted = predict(loadBytes(row + index - pixelBytes), loadBytes(above + index),
                                          loadBytes(above + index - pixelBytes));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + index), _mm_sub_epi8(loadBytes(row + index), predicted));
    }
    return index;
}

qsizetype filterSimd(RowFilterType type, const uchar *row, const uchar *above, qsizetype from, qsizetype length,
                     int pixelBytes, uchar *out)
{
    const auto run = [&](auto predict) {
        return filterRunsSimd(row, above, from, length, pixelBytes, out, predict);
    };
    switch (type) {
    case RowFilterType::none:
        return run([](__m128i, __m128i, __m128i) { return _mm_setzero_si128(); });
    case RowFilterType::sub:
        return run([](__m128i left, __m128i, __m128i) { return left; });
    case RowFilterType::up:
        return run([](__m128i, __m128i up, __m128i) { return up; });
    case RowFilterType::average:
        return run([](__m128i left, __m128i up, __m128i) { return averageOf(left, up); });
    case RowFilterType::paeth:
        break;
    }
    return run(paethOf);
}
#endif

// The filter with the smallest sum of absolute filtered bytes, as libpng and
// most encoders choose, over a quarter of the row in 64-byte runs: flat areas
// and text go well with "up" or "sub", gradients and photographs with "paeth"
// or "average". A row like the one above is "up" at once.
RowFilterType cheapestFilter(const uchar *row, const uchar *above, qsizetype length, int pixelBytes)
{
    if (std::memcmp(row, above, size_t(length)) == 0)
        return RowFilterType::up;
    constexpr qsizetype run = 64;
    constexpr qsizetype step = 4 * run;
    FilterCosts costs{};
    const qsizetype first = std::min<qsizetype>(pixelBytes, length);
    for (qsizetype index = 0; index < first; ++index) {
        costs[0] += absoluteByte(row[index]);
        costs[1] += absoluteByte(row[index]);
        costs[2] += absoluteByte(row[index] - above[index]);
        costs[3] += absoluteByte(row[index] - above[index] / 2);
        costs[4] += absoluteByte(row[index] - above[index]);
    }
    for (qsizetype start = 0; start < length; start += step) {
        const qsizetype from = std::max(start, first);
        const qsizetype to = std::min(start + run, length);
#ifdef __SSE2__
        addCostsSimd(row, above, from, to, pixelBytes, costs);
#else
        addCosts(row, above, from, to, pixelBytes, costs);
#endif
    }
    return RowFilterType(std::min_element(costs.begin(), costs.end()) - costs.begin());
}

// Filters the first pixel, then the bytes from `rest` on.
template <typename Predict>
void filterWith(const uchar *row, const uchar *above, qsizetype rest, qsizetype length, int pixelBytes, uchar *out,
                Predict predict)
{
    const qsizetype first = std::min<qsizetype>(pixelBytes, length);
    for (qsizetype index = 0; index < first; ++index)
        out[index] = uchar(row[index] - predict(0, above[index], 0));
    for (qsizetype index = std::max(first, rest); index < length; ++index)
        out[index] = uchar(row[index] - predict(row[index - pixelBytes], above[index], above[index - pixelBytes]));
}

// Calls `use` with the prediction function of a filter type.
template <typename Use> auto withPredictor(RowFilterType type, Use use)
{
    switch (type) {
    case RowFilterType::none:
        return use([](int, int, int) { return 0; });
    case RowFilterType::sub:
        return use([](int left, int, int) { return left; });
    case RowFilterType::up:
        return use([](int, int up, int) { return up; });
    case RowFilterType::average:
        return use([](int left, int up, int) { return (left + up) / 2; });
    case RowFilterType::paeth:
        break;
    }
    return use(paethPredictor);
}

// Produces the filtered rows of a band, each led by its filter byte. Each row
// takes the filter with the smallest sum of absolute differences, as libpng
// and most encoders choose: flat areas and text go well with "up" or "sub",
// gradients and photographs with "paeth" or "average".
class RowFilter {
public:
    RowFilter(const Pixels &pixels, int firstRow)
        : m_pixels(pixels), m_row(firstRow), m_previous(size_t(pixels.rowBytes()), 0),
          m_current(size_t(pixels.rowBytes()))
    {
        if (firstRow > 0)
            packRow(pixels, firstRow - 1, m_previous.data());
    }

    void next(uchar *out)
    {
        packRow(m_pixels, m_row++, m_current.data());
        const uchar *row = m_current.data();
        const uchar *above = m_previous.data();
        const qsizetype length = m_pixels.rowBytes();
        const int pixelBytes = m_pixels.channels();
        const RowFilterType chosen = cheapestFilter(row, above, length, pixelBytes);
        out[0] = uchar(chosen);
        const qsizetype first = std::min<qsizetype>(pixelBytes, length);
#ifdef __SSE2__
        const qsizetype rest = filterSimd(chosen, row, above, first, length, pixelBytes, out + 1);
#else
        const qsizetype rest = first;
#endif
        withPredictor(chosen,
                      [&](auto predict) { filterWith(row, above, rest, length, pixelBytes, out + 1, predict); });
        m_previous.swap(m_current);
    }

private:
    const Pixels &m_pixels;
    int m_row;
    std::vector<uchar> m_previous;
    std::vector<uchar> m_current;
};

// The last 32 KiB of filtered data before `firstRow`.
std::vector<uchar> dictionaryBefore(const Pixels &pixels, int firstRow)
{
    const qsizetype lineBytes = pixels.rowBytes() + 1;
    const int rows = int(std::min<qsizetype>(firstRow, (dictionarySize + lineBytes - 1) / lineBytes));
    std::vector<uchar> lines(size_t(rows * lineBytes));
    RowFilter filter(pixels, firstRow - rows);
    for (int row = 0; row < rows; ++row)
        filter.next(lines.data() + row * lineBytes);
    const qsizetype keep = std::min<qsizetype>(qsizetype(lines.size()), dictionarySize);
    return std::vector<uchar>(lines.end() - keep, lines.end());
}

bool deflateInto(z_stream &stream, QByteArray &out, int flush)
{
    do {
        if (out.capacity() - out.size() < 64 * 1024)
            out.reserve(std::max<qsizetype>(out.capacity() * 2, 256 * 1024));
        const qsizetype used = out.size();
        const qsizetype room = out.capacity() - used;
        out.resize(out.capacity());
        stream.next_out = reinterpret_cast<Bytef *>(out.data() + used);
        stream.avail_out = uInt(room);
        const int status = deflate(&stream, flush);
        out.resize(used + room - stream.avail_out);
        if (status == Z_STREAM_ERROR)
            return false;
    } while (stream.avail_out == 0 || stream.avail_in > 0);
    return true;
}

void compressBand(const Pixels &pixels, Band &band, bool last)
{
    z_stream stream{};
    if (deflateInit2(&stream, compressionLevel, Z_DEFLATED, -windowBits, memoryLevel, Z_DEFAULT_STRATEGY) != Z_OK) {
        band.failed = true;
        return;
    }
    if (band.firstRow > 0) {
        const std::vector<uchar> dictionary = dictionaryBefore(pixels, band.firstRow);
        band.failed = deflateSetDictionary(&stream, dictionary.data(), uInt(dictionary.size())) != Z_OK;
    }
    const qsizetype lineBytes = pixels.rowBytes() + 1;
    const int rowsPerBatch = int(std::max<qsizetype>(1, batchBytes / lineBytes));
    std::vector<uchar> batch(size_t(rowsPerBatch * lineBytes));
    RowFilter filter(pixels, band.firstRow);
    band.adler = adler32(0, nullptr, 0);
    for (int done = 0; done < band.rowCount && !band.failed;) {
        const int rows = std::min(rowsPerBatch, band.rowCount - done);
        for (int row = 0; row < rows; ++row)
            filter.next(batch.data() + row * lineBytes);
        const uInt bytes = uInt(rows * lineBytes);
        band.adler = adler32(band.adler, batch.data(), bytes);
        band.length += bytes;
        stream.next_in = batch.data();
        stream.avail_in = bytes;
        done += rows;
        const int flush = done < band.rowCount ? Z_NO_FLUSH : (last ? Z_FINISH : Z_SYNC_FLUSH);
        band.failed = !deflateInto(stream, band.compressed, flush);
    }
    deflateEnd(&stream);
}

QList<Band> bandsFor(const Pixels &pixels)
{
    const qsizetype total = pixels.rowBytes() * pixels.image.height();
    const int most = std::max(1, QThread::idealThreadCount() * bandsPerThread);
    const int count = int(std::clamp<qsizetype>(total / minimumBandBytes, 1, std::min(most, pixels.image.height())));
    QList<Band> bands(count);
    const int height = pixels.image.height();
    for (int index = 0; index < count; ++index) {
        bands[index].firstRow = int(qint64(height) * index / count);
        bands[index].rowCount = int(qint64(height) * (index + 1) / count) - bands[index].firstRow;
    }
    return bands;
}

constexpr qsizetype chunkOverhead = 12;

// Appends a chunk whose data is `pieces` one after another.
void appendChunk(QByteArray &png, const char *type, std::initializer_list<QByteArrayView> pieces)
{
    qsizetype length = 0;
    for (const QByteArrayView piece : pieces)
        length += piece.size();
    png.append(reinterpret_cast<const char *>(std::array{qToBigEndian(quint32(length))}.data()), 4);
    const qsizetype start = png.size();
    png.append(type, 4);
    for (const QByteArrayView piece : pieces)
        png.append(piece);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef *>(png.constData() + start), uInt(png.size() - start));
    png.append(reinterpret_cast<const char *>(std::array{qToBigEndian(quint32(crc))}.data()), 4);
}

QByteArray header(const Pixels &pixels)
{
    QByteArray data(13, '\0');
    qToBigEndian(quint32(pixels.image.width()), data.data());
    qToBigEndian(quint32(pixels.image.height()), data.data() + 4);
    data[8] = 8;
    data[9] = pixels.opaque ? 2 : 6;
    return data;
}

// Written into one buffer of the final size: the file is copied once.
QByteArray assemble(const Pixels &pixels, const QList<Band> &bands)
{
    uLong adler = bands.first().adler;
    for (qsizetype index = 1; index < bands.size(); ++index)
        adler = adler32_combine(adler, bands[index].adler, z_off_t(bands[index].length));
    const auto adlerBytes = std::array{qToBigEndian(quint32(adler))};

    qsizetype size = qsizetype(sizeof signature) - 1 + 3 * chunkOverhead + 13 + sizeof zlibHeader + sizeof adlerBytes;
    for (const Band &band : bands)
        size += chunkOverhead + band.compressed.size();
    QByteArray png;
    png.reserve(size);
    png.append(signature, 8);
    appendChunk(png, "IHDR", {header(pixels)});
    const QByteArrayView zlibStart(zlibHeader, sizeof zlibHeader);
    const QByteArrayView zlibEnd(reinterpret_cast<const char *>(adlerBytes.data()), sizeof adlerBytes);
    for (qsizetype index = 0; index < bands.size(); ++index) {
        const QByteArrayView before = index == 0 ? zlibStart : QByteArrayView();
        const QByteArrayView after = index == bands.size() - 1 ? zlibEnd : QByteArrayView();
        appendChunk(png, "IDAT", {before, bands[index].compressed, after});
    }
    appendChunk(png, "IEND", {});
    return png;
}

// The bands' own threads. Called from a worker of the global pool, as a
// capture's delivery does, the bands were left to one core.
QThreadPool &bandPool()
{
    static QThreadPool pool;
    return pool;
}

} // namespace

QByteArray CapturePngEncoder::encode(const QImage &image)
{
    if (image.isNull())
        fail();
    try {
        Pixels pixels{asArgb32(image)};
        if (pixels.image.isNull())
            fail();
        QList<Band> bands = bandsFor(pixels);
        if (pixels.image.hasAlphaChannel()) {
            QtConcurrent::blockingMap(&bandPool(), bands, [&pixels](Band &band) {
                band.opaque = rowsOpaque(pixels.image, band.firstRow, band.rowCount);
            });
            pixels.opaque = std::all_of(bands.cbegin(), bands.cend(), [](const Band &band) { return band.opaque; });
        }
        const Band *last = &bands.last();
        QtConcurrent::blockingMap(&bandPool(), bands, [&pixels, last](Band &band) {
            try {
                compressBand(pixels, band, &band == last);
            } catch (const std::bad_alloc &) {
                band.failed = true;
            }
        });
        if (std::any_of(bands.cbegin(), bands.cend(), [](const Band &band) { return band.failed; }))
            fail();
        return assemble(pixels, bands);
    } catch (const std::bad_alloc &) {
        fail();
    }
}
