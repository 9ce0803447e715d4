#pragma once

#include "TypedError.h"

#include <QString>

// A file-system error as the user reads it: what failed, on which path, and
// the system's own reason.
struct CaptureFileSystemFailure {
    enum class Operation { createFolder, write, setPermissions, remove };

    Operation operation = Operation::write;
    QString path;
    int errorNumber = 0; // errno; 0 when only `reason` is known
    QString reason;

    bool nameTaken() const;

    static CaptureFileSystemFailure fromErrorNumber(Operation operation, const QString &path, int errorNumber);
};

QString description(const CaptureFileSystemFailure &failure);

using CaptureFileSystemError = TypedError<CaptureFileSystemFailure>;
