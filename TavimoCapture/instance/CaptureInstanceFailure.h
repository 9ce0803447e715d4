#pragma once

#include "TypedError.h"

#include <QString>

// Why this start could neither become the running app nor reach it.
struct CaptureInstanceFailure {
    enum class Kind {
        // The socket's folder is not a real folder of this user closed to others.
        unsafeFolder,
        folderNotMade,
        listenFailed,
        // The running app went away before it answered.
        noAnswer,
    };

    Kind kind = Kind::listenFailed;
    QString path;
    QString reason;
};

QString description(const CaptureInstanceFailure &failure);

using CaptureInstanceError = TypedError<CaptureInstanceFailure>;
