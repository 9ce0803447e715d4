#pragma once

#include <QImage>

// Generated images that look like real captures, for the render benchmarks.
namespace BenchmarkImages {

// A desktop-like capture: a window of text lines, flat panels and buttons, a
// gradient banner and a photo region. Opaque, ARGB32 premultiplied.
QImage screenshot(int width, int height);
// The 5120 x 2880 screenshot, made once.
const QImage &capture5K();

} // namespace BenchmarkImages
