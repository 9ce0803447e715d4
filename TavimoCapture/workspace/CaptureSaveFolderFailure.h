#pragma once

#include "TypedError.h"

#include <QString>

// Why the automatic-save folder cannot be used.
enum class CaptureSaveFolderFailure {
    notSet,
    notAbsolute,
};

QString description(CaptureSaveFolderFailure failure);

using CaptureSaveFolderError = TypedError<CaptureSaveFolderFailure>;

// The folder setting as a full path, "~" standing for the home folder.
// Throws CaptureSaveFolderError for an empty or relative path, which would
// otherwise mean the app's working folder.
QString expandedSaveFolder(const QString &folder);
