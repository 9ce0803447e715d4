#pragma once

#include <QSize>
#include <QSizeF>
#include <QtGlobal>

#include <cmath>

// No image larger than this is grabbed, decoded, rendered or exported.
inline constexpr qint64 maximumPixelCount = 80'000'000;

// A pixel count of at least one and at most the limit.
constexpr bool withinPixelLimit(qint64 pixelCount)
{
    return pixelCount >= 1 && pixelCount <= maximumPixelCount;
}

// At least one pixel each way and at most the limit in all. Each side is
// checked first, so the product never overflows.
constexpr bool withinPixelLimit(qint64 width, qint64 height)
{
    return width >= 1 && height >= 1 && width <= maximumPixelCount && height <= maximumPixelCount &&
           width * height <= maximumPixelCount;
}

constexpr bool withinPixelLimit(QSize size)
{
    return withinPixelLimit(qint64(size.width()), qint64(size.height()));
}

// Fractional sizes (layouts, board frames) are measured as they stand.
inline bool withinPixelLimit(QSizeF size)
{
    return std::isfinite(size.width()) && std::isfinite(size.height()) && size.width() >= 1 && size.height() >= 1 &&
           size.width() * size.height() <= double(maximumPixelCount);
}
