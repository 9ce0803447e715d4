#include "CaptureImportFailure.h"

#include "CaptureFailure.h"

QString description(CaptureImportFailure failure)
{
    switch (failure) {
    case CaptureImportFailure::tooLarge:
        return QStringLiteral("Choose an image up to 80 megapixels.");
    case CaptureImportFailure::undecodable:
        return description(CaptureFailure::invalidImage);
    }
    return QString();
}
