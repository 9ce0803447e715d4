#pragma once

#include <QIODevice>
#include <QImage>
#include <QString>

// Opens image files from outside: PNG, JPEG and TIFF only, recognised by their
// content whatever their name. Everything that can be refused is refused from
// the header, before the pixels are allocated: sizes above 80 megapixels;
// PNG, JPEG and TIFF files whose data is too short to fill the size they
// claim; PNG files with more text than a picture needs. Each throws
// CaptureImportError.
namespace CaptureImageImport {

// Throws for a file that read() would refuse before decoding; decodes nothing.
void check(const QString &path);
QImage read(const QString &path);
// `device` is open for reading, seekable and positioned at the start of the image.
QImage read(QIODevice &device);

// False for a PNG file with a chunk longer than the file (decoders allocate
// it first), with more than 100 text chunks or 1 MiB of text once inflated,
// or with too little compressed data for the rows its header promises; true
// for anything that is not a PNG file.
bool pngCanFill(QIODevice &device);

} // namespace CaptureImageImport
