#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <initializer_list>

// Image files made byte by byte, so tests can open headers that promise more
// than the file holds.
namespace TestImageFiles {

// A PNG signature and header for `size`, followed by one IDAT chunk of
// garbage: the size can be read, the pixels cannot.
QByteArray pngHeaderOnly(QSize size);
// A complete one-bit palette PNG of `size`, all white: big images stay small.
QByteArray whitePng(QSize size);
// `png` with its header rewritten to claim `size`: the data no longer fills it.
QByteArray pngClaiming(const QByteArray &png, QSize size);
// A little-endian TIFF of `pages` grey pages, each claiming `size` and holding
// one 16 x 16 strip.
QByteArray tiffClaiming(QSize size, int pages = 1);
// A real JPEG whose frame header is rewritten to claim `size` (at most 65535 a side).
QByteArray jpegClaiming(QSize size);
// A valid arithmetic-coded grey JPEG of `size`, flat mid-grey, encoded row by row.
QByteArray arithmeticJpeg(QSize size);
// `jpeg` with its frame header rewritten to claim `size` and everything after
// its first scan header cut off.
QByteArray jpegWithoutScanClaiming(const QByteArray &jpeg, QSize size);

// One TIFF directory entry; values that do not fit in the entry lie at `value`.
struct TiffField {
    quint16 tag;
    quint16 type; // 3 short, 4 long
    quint32 value;
    quint32 count = 1;
};
// A little-endian TIFF whose one page has `fields` (in tag order), after `data`
// at offset 8.
QByteArray tiffPage(std::initializer_list<TiffField> fields, const QByteArray &data);

// An RGB TIFF claiming `size` whose one deflate strip holds 256 bytes.
QByteArray deflateTiffClaiming(QSize size);

// `png` with `copies` chunks of `type` holding `data` right after its header.
QByteArray pngWithChunks(const QByteArray &png, const char *type, const QByteArray &data, int copies = 1);
// `text` as zlib data, the way zTXt and compressed iTXt chunks hold it.
QByteArray zlibText(const QByteArray &text);
// The image encoded by Qt in `format` ("png", "tiff", ...).
QByteArray encoded(const QImage &image, const char *format);

} // namespace TestImageFiles
