#include "CaptureFailure.h"

#include <QCoreApplication>

QString description(CaptureFailure failure)
{
    switch (failure) {
    case CaptureFailure::permission:
        return QCoreApplication::translate(
            "CaptureFailure", "Allow Tavimo Capture to take screenshots when your desktop asks, then try again.");
    case CaptureFailure::failed:
        return QCoreApplication::translate(
            "CaptureFailure", "The screenshot could not be captured. Check Screen Recording permission and try again.");
    case CaptureFailure::invalidImage:
        return QCoreApplication::translate("CaptureFailure",
                                           "This image could not be opened. Choose a PNG, JPEG or TIFF image.");
    case CaptureFailure::write:
        return QCoreApplication::translate(
            "CaptureFailure", "The image could not be saved. Check the destination and available disk space.");
    case CaptureFailure::displaysTooLarge:
        return QStringLiteral(
            "The connected displays exceed the 80-megapixel limit. Capture fewer displays separately.");
    }
    return QString();
}
