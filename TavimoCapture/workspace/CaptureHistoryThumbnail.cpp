#include "CaptureHistoryThumbnail.h"

#include "CaptureImageImport.h"
#include "CaptureRenderer.h"
#include "PixelLimit.h"

#include <QFile>
#include <QImageReader>

#include <spng.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct ContextDeleter {
    void operator()(spng_ctx *context) const { spng_ctx_free(context); }
};
struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

QSize thumbnailSize(QSize size, int maximumSide)
{
    if (size.width() <= maximumSide && size.height() <= maximumSide)
        return size;
    return size.scaled(maximumSide, maximumSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

// Sums of premultiplied colour and alpha for one row of thumbnail pixels,
// filled one source row at a time.
class RowAverager {
public:
    RowAverager(int sourceWidth, int width) : m_sums(size_t(width) * 4), m_firstColumn(size_t(width) + 1)
    {
        for (int x = 0; x <= width; ++x)
            m_firstColumn[size_t(x)] = int((qint64(x) * sourceWidth + width - 1) / width);
    }

    void add(const quint8 *rgba)
    {
        for (size_t x = 0; x + 1 < m_firstColumn.size(); ++x) {
            quint64 red = 0, green = 0, blue = 0, alpha = 0;
            for (int column = m_firstColumn[x]; column < m_firstColumn[x + 1]; ++column) {
                const quint8 *pixel = rgba + size_t(column) * 4;
                red += pixel[0] * pixel[3];
                green += pixel[1] * pixel[3];
                blue += pixel[2] * pixel[3];
                alpha += pixel[3];
            }
            quint64 *sum = &m_sums[x * 4];
            sum[0] += red;
            sum[1] += green;
            sum[2] += blue;
            sum[3] += alpha;
        }
        ++m_rows;
    }

    // Writes the averages as premultiplied ARGB and starts the next row.
    void takeRow(QRgb *line)
    {
        for (size_t x = 0; x + 1 < m_firstColumn.size(); ++x) {
            const quint64 pixels = quint64(m_firstColumn[x + 1] - m_firstColumn[x]) * m_rows;
            const quint64 *sum = &m_sums[x * 4];
            const auto colour = [&](quint64 value) {
                return int((value + pixels * 255 / 2) / (pixels * 255));
            };
            line[x] = qRgba(colour(sum[0]), colour(sum[1]), colour(sum[2]), int((sum[3] + pixels / 2) / pixels));
        }
        std::fill(m_sums.begin(), m_sums.end(), 0);
        m_rows = 0;
    }

private:
    std::vector<quint64> m_sums;
    // Thumbnail column x covers source columns [m_firstColumn[x], m_firstColumn[x + 1]).
    std::vector<int> m_firstColumn;
    int m_rows = 0;
};

// Interlaced files arrive pass by pass; they are rare enough to go through Qt.
QImage scaledByQt(const QString &path, QSize size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !CaptureImageImport::pngCanFill(file))
        return QImage();
    QImageReader reader(path, "png");
    reader.setScaledSize(size);
    return reader.read();
}

} // namespace

QImage CaptureHistoryThumbnail::fromPng(const QString &path, int maximumSide)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(QFile::encodeName(path).constData(), "rb"));
    const std::unique_ptr<spng_ctx, ContextDeleter> context(spng_ctx_new(0));
    spng_ihdr header{};
    if (!file || !context || spng_set_png_file(context.get(), file.get()) != 0 ||
        spng_get_ihdr(context.get(), &header) != 0 || !withinPixelLimit(qint64(header.width), qint64(header.height)))
        return QImage();
    const QSize source(int(header.width), int(header.height));
    const QSize size = thumbnailSize(source, maximumSide);
    if (header.interlace_method != SPNG_INTERLACE_NONE)
        return scaledByQt(path, size);
    if (spng_decode_image(context.get(), nullptr, 0, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE) != 0)
        return QImage();

    QImage thumbnail(size, QImage::Format_ARGB32_Premultiplied);
    RowAverager averager(source.width(), size.width());
    std::vector<quint8> row(size_t(source.width()) * 4);
    int line = 0;
    for (int y = 0; y < source.height(); ++y) {
        const int status = spng_decode_row(context.get(), row.data(), row.size());
        if (status != 0 && status != SPNG_EOI)
            return QImage();
        averager.add(row.data());
        const int nextLine = int(qint64(y + 1) * size.height() / source.height());
        if (nextLine != line) {
            averager.takeRow(reinterpret_cast<QRgb *>(thumbnail.scanLine(line)));
            line = nextLine;
        }
    }
    return thumbnail;
}
