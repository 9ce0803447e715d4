#pragma once

#include <QIODevice>

// The first page of a TIFF file as its directory describes it, read without
// decoding: where its strips or tiles lie and how they are compressed.
namespace CaptureTiffLayout {

// False for a TIFF file whose first page puts data beyond the end of the
// file, uses tiles far larger than the image, or holds less data than its
// compression needs for the rows it claims (decoders allocate the rows
// first); true for anything that is not a classic or big TIFF file.
// `device` is positioned at the start of the file; its position is left
// anywhere.
bool canFill(QIODevice &device);

} // namespace CaptureTiffLayout
