#pragma once

#include "TypedError.h"

#include <QString>

// Why an image could not be turned into PNG bytes. Callers that write files
// report it as their own write failure.
enum class CapturePngEncodeError {
    unencodable,
};

QString description(CapturePngEncodeError error);

using CapturePngEncodeFailure = TypedError<CapturePngEncodeError>;
