#pragma once

#include "TypedError.h"

#include <QString>

// Why text could not be recognised, each described by the sentence the user sees.
enum class CaptureOCRFailure {
    languageDataMissing,
    helperMissing,
    failed,
};

QString description(CaptureOCRFailure failure);

using CaptureOCRError = TypedError<CaptureOCRFailure>;
