#include "LargeImage.h"

#include <sys/mman.h>

#include <cstdint>

namespace {

constexpr std::uintptr_t hugePage = 2 * 1024 * 1024;

// Only whole 2 MiB pages inside the bitmap; smaller bitmaps gain nothing.
void adviseHugePages(QImage &image)
{
    const auto start = reinterpret_cast<std::uintptr_t>(image.bits());
    const std::uintptr_t end = start + std::uintptr_t(image.sizeInBytes());
    const std::uintptr_t first = (start + hugePage - 1) & ~(hugePage - 1);
    const std::uintptr_t last = end & ~(hugePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
}

} // namespace

QImage LargeImage::allocate(QSize size, QImage::Format format)
{
    QImage image(size, format);
    if (!image.isNull())
        adviseHugePages(image);
    return image;
}
