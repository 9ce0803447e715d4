#pragma once

#include <QImage>

// Bitmaps of whole screens. The first write to fresh memory costs a page
// fault per 4 KiB, about 14,000 for a 5K screen; asked for 2 MiB pages the
// kernel takes some 30 and the first touch is about four times quicker.
namespace LargeImage {

// An uninitialised image, null when the memory cannot be had.
QImage allocate(QSize size, QImage::Format format);

} // namespace LargeImage
