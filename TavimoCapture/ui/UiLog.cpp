#include "UiLog.h"

Q_LOGGING_CATEGORY(uiLog, "tavimo.ui")
