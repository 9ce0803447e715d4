#pragma once

#include "CaptureOCR.h"
#include "CaptureOCRRegion.h"

#include <QImage>
#include <QList>
#include <QString>

#include <functional>

// The text recognition the workspace runs on the thread pool: both functions
// are called off the GUI thread and report failures by throwing a TypedError.
// On-device recognition unless replaced.
struct CaptureTextRecognition {
    std::function<QString(const QImage &)> recognize = CaptureOCR::recognize;
    std::function<QList<CaptureOCRRegion>(const QImage &)> regions = CaptureOCR::regions;
};
