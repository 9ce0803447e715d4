#include "CaptureOCRLog.h"

Q_LOGGING_CATEGORY(ocrLog, "tavimo.ocr")
