#pragma once

#include <QLoggingCategory>

// Technical detail of taking screenshots: errno, paths, helper output.
Q_DECLARE_LOGGING_CATEGORY(captureLog)
