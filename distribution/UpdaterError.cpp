#include "UpdaterError.h"

QString description(UpdaterError error)
{
    switch (error) {
    case UpdaterError::invalidFeed:
        return QStringLiteral("The update feed could not be read.");
    case UpdaterError::noUpdate:
        return QStringLiteral("No newer version is available.");
    case UpdaterError::feedUnavailable:
        return QStringLiteral("The update feed could not be downloaded. Check your internet connection and try again.");
    case UpdaterError::feedTooLarge:
        return QStringLiteral("The update feed is larger than expected and was not read.");
    case UpdaterError::insecureLocation:
        return QStringLiteral("The update is not offered over a secure connection, so it was not downloaded.");
    case UpdaterError::notInstallable:
        return QStringLiteral("The app's folder cannot be written, so updates cannot be installed here.");
    case UpdaterError::temporaryFile:
        return QStringLiteral("The update could not be stored in a temporary file. Check the available disk space.");
    case UpdaterError::downloadFailed:
        return QStringLiteral("The update could not be downloaded. Check your internet connection and try again.");
    case UpdaterError::archiveTooLarge:
        return QStringLiteral("The update is larger than announced and was not downloaded.");
    case UpdaterError::missingSignature:
        return QStringLiteral("The update is not signed, so it was not installed.");
    case UpdaterError::badSignature:
        return QStringLiteral("The update's signature does not match, so it was not installed.");
    case UpdaterError::wrongLength:
        return QStringLiteral("The downloaded update is incomplete or has the wrong size, so it was not installed.");
    case UpdaterError::notExecutable:
        return QStringLiteral("The downloaded update is not a program, so it was not installed.");
    case UpdaterError::installFailed:
        return QStringLiteral("The update could not be written beside the app. Check that its folder is writable and "
                              "has free space.");
    case UpdaterError::installationCanceled:
        return QStringLiteral("The update installation was cancelled.");
    case UpdaterError::installationPostponed:
        return QStringLiteral("The update installation was postponed.");
    }
    return QString();
}
