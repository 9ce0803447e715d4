#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

// Pixel filters over a region of a 32-bit image (ARGB32 premultiplied or RGB32).
// Each reads only its target grown by its reach, so the cost follows the area
// filtered, never the size of the image; pixels beyond the image repeat its edge.
namespace CaptureImageEffects {

// How many pixels beyond its target a blur of `radius` reads.
int blurReach(double radius);
// `target` of `source` blurred with a Gaussian of standard deviation `radius`.
// Large radii blur a reduced copy, so the cost does not grow with the radius.
QImage blur(const QImage &source, const QRect &target, double radius);

// How many pixels beyond its target a pixelation in blocks of `scale` reads.
int pixelateReach(int scale);
// `target` of `source` in square blocks of `scale` whose corners lie on the
// grid through `gridOrigin`; each block takes the colour of the pixel at its centre.
QImage pixelate(const QImage &source, const QRect &target, int scale, const QPoint &gridOrigin);

// Blurs an 8-bit alpha mask in place; the mask's edges repeat outward.
void blurMask(QImage &mask, double radius);

} // namespace CaptureImageEffects
