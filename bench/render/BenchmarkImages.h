#pragma once

#include <QImage>

// Generated images that look like real captures, for the render benchmarks.
namespace BenchmarkImages {

// A desktop-like capture: a window of text lines, flat panels and buttons, a
// gradient banner and a photo region. Opaque, ARGB32 premultiplied.
QImage screenshot(int width, int height);
// The 5120 x 2880 screenshot, made once.
const QImage &capture5K();

// A desktop as people capture it, for every benchmark that encodes PNG: a
// photographic wallpaper, an article window with a photo and text in four
// sizes, a sidebar with icons and gradients, a dark terminal and a task bar.
// Text is drawn with DejaVu fonts, so a file's size depends on real glyph
// edges. Deterministic; opaque, ARGB32 premultiplied.
QImage realisticScreen(int width, int height);
// The 5120 x 2880 realistic screen, made once.
const QImage &realistic5K();

// `image` as QImage::save writes a PNG: what Qt-based screenshot tools do.
QByteArray pngSavedByQt(const QImage &image);

} // namespace BenchmarkImages
