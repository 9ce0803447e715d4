#pragma once

#include "TypedError.h"

#include <QString>

// A command line that cannot be run, as the user reads it.
struct CaptureUsageFailure {
    enum class Kind {
        // Unknown option or missing value; `detail` holds the parser's sentence.
        rejected,
        unexpectedArgument,
        severalActions,
        outputNeedsImageCapture,
        overwriteNeedsOutput,
        delayNeedsCapture,
        invalidDelay,
        emptyFileName,
    };

    Kind kind = Kind::rejected;
    QString detail;
};

QString description(const CaptureUsageFailure &failure);

using CaptureUsageError = TypedError<CaptureUsageFailure>;
