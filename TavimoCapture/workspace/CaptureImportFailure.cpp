#include "CaptureImportFailure.h"

#include "CaptureFailure.h"

#include <QCoreApplication>

QString description(CaptureImportFailure failure)
{
    switch (failure) {
    case CaptureImportFailure::tooLarge:
        return QCoreApplication::translate("CaptureImportFailure", "Choose an image up to 80 megapixels.");
    case CaptureImportFailure::undecodable:
        return description(CaptureFailure::invalidImage);
    }
    return QString();
}
