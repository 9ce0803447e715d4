#include "UpdaterError.h"

#include <QCoreApplication>

QString description(UpdaterError error)
{
    switch (error) {
    case UpdaterError::invalidFeed:
        return QCoreApplication::translate("UpdaterError", "The update feed could not be read.");
    case UpdaterError::noUpdate:
        return QCoreApplication::translate("UpdaterError", "No newer version is available.");
    case UpdaterError::feedUnavailable:
        return QCoreApplication::translate(
            "UpdaterError", "The update feed could not be downloaded. Check your internet connection and try again.");
    case UpdaterError::feedTooLarge:
        return QCoreApplication::translate("UpdaterError", "The update feed is larger than expected and was not read.");
    case UpdaterError::insecureLocation:
        return QCoreApplication::translate(
            "UpdaterError", "The update is not offered over a secure connection, so it was not downloaded.");
    case UpdaterError::notInstallable:
        return QCoreApplication::translate("UpdaterError",
                                           "The app's folder cannot be written, so updates cannot be installed here.");
    case UpdaterError::temporaryFile:
        return QCoreApplication::translate(
            "UpdaterError", "The update could not be stored in a temporary file. Check the available disk space.");
    case UpdaterError::downloadFailed:
        return QCoreApplication::translate(
            "UpdaterError", "The update could not be downloaded. Check your internet connection and try again.");
    case UpdaterError::archiveTooLarge:
        return QCoreApplication::translate("UpdaterError",
                                           "The update is larger than announced and was not downloaded.");
    case UpdaterError::missingSignature:
        return QCoreApplication::translate("UpdaterError", "The update is not signed, so it was not installed.");
    case UpdaterError::badSignature:
        return QCoreApplication::translate("UpdaterError",
                                           "The update's signature does not match, so it was not installed.");
    case UpdaterError::wrongLength:
        return QCoreApplication::translate(
            "UpdaterError", "The downloaded update is incomplete or has the wrong size, so it was not installed.");
    case UpdaterError::notExecutable:
        return QCoreApplication::translate("UpdaterError",
                                           "The downloaded update is not a program, so it was not installed.");
    case UpdaterError::installFailed:
        return QCoreApplication::translate(
            "UpdaterError", "The update could not be written beside the app. Check that its folder is writable and "
                            "has free space.");
    case UpdaterError::installationCanceled:
        return QCoreApplication::translate("UpdaterError", "The update installation was cancelled.");
    case UpdaterError::installationPostponed:
        return QCoreApplication::translate("UpdaterError", "The update installation was postponed.");
    }
    return QString();
}
