#pragma once

#include <QLoggingCategory>

// Technical detail of the platform layer: errno, paths, helper output.
Q_DECLARE_LOGGING_CATEGORY(platformLog)
