#include "CaptureRenderError.h"

#include <QCoreApplication>

QString description(CaptureRenderError error)
{
    switch (error) {
    case CaptureRenderError::invalidImage:
        return QCoreApplication::translate("CaptureRenderError", "This image could not be opened.");
    case CaptureRenderError::allocationFailed:
        return QCoreApplication::translate("CaptureRenderError", "There is not enough memory to render this capture.");
    case CaptureRenderError::imageTooLarge:
        return QCoreApplication::translate("CaptureRenderError",
                                           "This image is too large to export. Crop it to 80 megapixels or fewer.");
    }
    return QString();
}
