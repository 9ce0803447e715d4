#include "CaptureOCRFailure.h"

#include <QCoreApplication>

QString description(CaptureOCRFailure failure)
{
    switch (failure) {
    case CaptureOCRFailure::languageDataMissing:
        return QCoreApplication::translate(
            "CaptureOCRFailure", "Text recognition is not available: the English language data is not installed.");
    case CaptureOCRFailure::helperMissing:
        return QCoreApplication::translate(
            "CaptureOCRFailure", "Text recognition is not available: the tavimo-ocr program is not installed.");
    case CaptureOCRFailure::failed:
        return QCoreApplication::translate("CaptureOCRFailure", "The text in this image could not be recognized.");
    }
    return QString();
}
