#include "CaptureRenderError.h"

QString description(CaptureRenderError error)
{
    switch (error) {
    case CaptureRenderError::invalidImage:
        return QStringLiteral("This image could not be opened.");
    case CaptureRenderError::allocationFailed:
        return QStringLiteral("There is not enough memory to render this capture.");
    case CaptureRenderError::imageTooLarge:
        return QStringLiteral("This image is too large to export. Crop it to 80 megapixels or fewer.");
    }
    return QString();
}
