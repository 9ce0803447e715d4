#include "CaptureFailure.h"

#include <QCoreApplication>

QString description(CaptureFailure failure)
{
    switch (failure) {
    case CaptureFailure::permission:
        return QCoreApplication::translate("CaptureFailure",
                                           "The desktop refused the screenshot. Allow screenshots for Tavimo Capture "
                                           "in your desktop's settings and try again.");
    case CaptureFailure::failed:
        return QCoreApplication::translate("CaptureFailure", "The screen could not be read.");
    case CaptureFailure::invalidImage:
        return QCoreApplication::translate("CaptureFailure",
                                           "This image could not be opened. Choose a PNG, JPEG or TIFF image.");
    case CaptureFailure::write:
        return QCoreApplication::translate(
            "CaptureFailure", "The image could not be saved. Check the destination and available disk space.");
    case CaptureFailure::displaysTooLarge:
        return QCoreApplication::translate(
            "CaptureFailure",
            "The connected displays exceed the 80-megapixel limit. Capture fewer displays separately.");
    }
    return QString();
}
