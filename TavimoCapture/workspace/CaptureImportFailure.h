#pragma once

#include "TypedError.h"

#include <QString>

// Why an image file could not be opened, described by the notice the user sees.
enum class CaptureImportFailure {
    // Not a PNG, JPEG or TIFF image, unreadable, or more than 80 megapixels.
    tooLarge,
    // The header is fine but the pixels cannot be decoded.
    undecodable,
};

QString description(CaptureImportFailure failure);

using CaptureImportError = TypedError<CaptureImportFailure>;
