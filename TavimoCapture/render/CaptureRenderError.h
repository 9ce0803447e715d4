#pragma once

#include "TypedError.h"

#include <QString>

// Why an export bitmap could not be made, each described by the sentence the user sees.
enum class CaptureRenderError {
    invalidImage,
    allocationFailed,
    imageTooLarge,
};

QString description(CaptureRenderError error);

using CaptureRenderFailure = TypedError<CaptureRenderError>;
