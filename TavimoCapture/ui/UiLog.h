#pragma once

#include <QLoggingCategory>

// Technical detail of the app's windows: missing resources, paths.
Q_DECLARE_LOGGING_CATEGORY(uiLog)
