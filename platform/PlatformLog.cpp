#include "PlatformLog.h"

Q_LOGGING_CATEGORY(platformLog, "tavimo.platform")
