#pragma once

#include "CapturePngEncodeError.h"

#include <QByteArray>
#include <QImage>

// The app's one PNG encoder: clipboard, saved files, history and the
// screenshot tool all write through it. Lossless, alpha included; opaque
// images are written as RGB. Large images are compressed on every core.
namespace CapturePngEncoder {

// Throws CapturePngEncodeFailure when the image cannot be encoded.
QByteArray encode(const QImage &image);

} // namespace CapturePngEncoder
