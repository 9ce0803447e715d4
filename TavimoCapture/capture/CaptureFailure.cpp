#include "CaptureFailure.h"

QString description(CaptureFailure failure)
{
    switch (failure) {
    case CaptureFailure::permission:
        return QStringLiteral("Allow Tavimo Capture to take screenshots when your desktop asks, then try again.");
    case CaptureFailure::failed:
        return QStringLiteral("The screenshot could not be captured. Check Screen Recording permission and try again.");
    case CaptureFailure::invalidImage:
        return QStringLiteral("This image could not be opened. Choose a PNG, JPEG or TIFF image.");
    case CaptureFailure::write:
        return QStringLiteral("The image could not be saved. Check the destination and available disk space.");
    case CaptureFailure::displaysTooLarge:
        return QStringLiteral(
            "The connected displays exceed the 80-megapixel limit. Capture fewer displays separately.");
    }
    return QString();
}
