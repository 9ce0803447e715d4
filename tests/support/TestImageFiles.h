#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

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
// The image encoded by Qt in `format` ("png", "tiff", ...).
QByteArray encoded(const QImage &image, const char *format);

} // namespace TestImageFiles
