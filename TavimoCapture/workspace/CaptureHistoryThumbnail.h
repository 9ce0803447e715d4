#pragma once

#include <QImage>
#include <QString>

// Thumbnails of history entries, decoded row by row and shrunk on the way, so
// that even an 80-megapixel entry never needs its full image in memory.
namespace CaptureHistoryThumbnail {

// The PNG at `path` with its longer side at most `maximumSide` pixels (never
// enlarged), each pixel the average of the pixels it covers; null when the file
// is not a readable PNG within 80 megapixels.
QImage fromPng(const QString &path, int maximumSide);

} // namespace CaptureHistoryThumbnail
