#include "CaptureImportFailure.h"

#include "CaptureFailure.h"

#include <QCoreApplication>

QString description(CaptureImportFailure failure)
{
    switch (failure) {
    case CaptureImportFailure::missing:
        return QCoreApplication::translate("CaptureImportFailure",
                                           "This file could not be found. Check its name and folder.");
    case CaptureImportFailure::unreadable:
        return QCoreApplication::translate("CaptureImportFailure",
                                           "This file could not be read. Check that you may open it.");
    case CaptureImportFailure::notImage:
        return QCoreApplication::translate("CaptureImportFailure",
                                           "This file is not an image. Choose a PNG, JPEG or TIFF image.");
    case CaptureImportFailure::tooLarge:
        return QCoreApplication::translate("CaptureImportFailure", "Choose an image up to 80 megapixels.");
    case CaptureImportFailure::undecodable:
        return description(CaptureFailure::invalidImage);
    }
    return QString();
}
