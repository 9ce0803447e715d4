#pragma once

#include "TypedError.h"

#include <QString>

// Capture and file errors, each described by the sentence the user sees.
enum class CaptureFailure {
    permission,
    failed,
    invalidImage,
    write,
    displaysTooLarge,
};

QString description(CaptureFailure failure);

using CaptureError = TypedError<CaptureFailure>;
