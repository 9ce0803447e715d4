#include "CaptureOCRPixels.h"

#include "PixelLimit.h"

#include <QByteArrayView>

#include <cctype>

namespace {

bool isSpace(char character)
{
    return std::isspace(static_cast<unsigned char>(character)) != 0;
}

// Reads the next decimal header field at `offset`; none on anything else.
std::optional<qint64> headerNumber(const QByteArray &ppm, qsizetype &offset)
{
    while (offset < ppm.size() && isSpace(ppm[offset]))
        ++offset;
    const qsizetype start = offset;
    while (offset < ppm.size() && offset - start < 9 && std::isdigit(static_cast<unsigned char>(ppm[offset])))
        ++offset;
    if (offset == start || offset >= ppm.size() || !isSpace(ppm[offset]))
        return std::nullopt;
    return QByteArrayView(ppm).sliced(start, offset - start).toLongLong();
}

} // namespace

std::optional<CaptureOCRPixels> CaptureOCRPixels::fromPpm(QByteArray ppm)
{
    if (!ppm.startsWith("P6"))
        return std::nullopt;
    qsizetype offset = 2;
    const std::optional<qint64> width = headerNumber(ppm, offset);
    const std::optional<qint64> height = width ? headerNumber(ppm, offset) : std::nullopt;
    const std::optional<qint64> maximum = height ? headerNumber(ppm, offset) : std::nullopt;
    if (!maximum || *maximum != 255 || !withinPixelLimit(*width, *height))
        return std::nullopt;
    ++offset; // the one white-space character before the rows
    if (ppm.size() - offset != *width * *height * 3)
        return std::nullopt;
    return CaptureOCRPixels(std::move(ppm), offset, int(*width), int(*height));
}

CaptureOCRPixels::CaptureOCRPixels(QByteArray ppm, qsizetype offset, int width, int height)
    : m_ppm(std::move(ppm)), m_offset(offset), m_width(width), m_height(height)
{
}

const unsigned char *CaptureOCRPixels::rows() const
{
    return reinterpret_cast<const unsigned char *>(m_ppm.constData() + m_offset);
}
