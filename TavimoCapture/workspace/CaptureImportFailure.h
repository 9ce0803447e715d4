#pragma once

#include "TypedError.h"

#include <QString>

// Why an image file could not be opened, described by the notice the user sees.
enum class CaptureImportFailure {
    missing,
    unreadable,
    // Not a PNG, JPEG or TIFF image, whatever its name.
    notImage,
    // More than 80 megapixels.
    tooLarge,
    // The header is fine but the pixels cannot be decoded.
    undecodable,
};

QString description(CaptureImportFailure failure);

using CaptureImportError = TypedError<CaptureImportFailure>;
