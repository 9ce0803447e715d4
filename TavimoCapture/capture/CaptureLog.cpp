#include "CaptureLog.h"

Q_LOGGING_CATEGORY(captureLog, "tavimo.capture")
