#include "CaptureOCRFailure.h"

QString description(CaptureOCRFailure failure)
{
    switch (failure) {
    case CaptureOCRFailure::languageDataMissing:
        return QStringLiteral("Text recognition is not available: the English language data is not installed.");
    case CaptureOCRFailure::helperMissing:
        return QStringLiteral("Text recognition is not available: the tavimo-ocr program is not installed.");
    case CaptureOCRFailure::failed:
        return QStringLiteral("The text in this image could not be recognized.");
    }
    return QString();
}
