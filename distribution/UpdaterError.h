#pragma once

#include "TypedError.h"

#include <QString>

// Why an update check, download or installation stopped. The raw values are
// stable codes the coordinator tells apart (no update, cancelled, postponed).
enum class UpdaterError {
    invalidFeed = 1000,
    noUpdate = 1001,
    feedUnavailable = 1002,
    feedTooLarge = 1003,
    insecureLocation = 1004,
    notInstallable = 1100,
    temporaryFile = 2000,
    downloadFailed = 2001,
    archiveTooLarge = 2002,
    missingSignature = 3000,
    badSignature = 3001,
    wrongLength = 3002,
    notExecutable = 3003,
    installFailed = 4005,
    installationCanceled = 4007,
    installationPostponed = 4008,
};

QString description(UpdaterError error);

using UpdaterFailure = TypedError<UpdaterError>;
