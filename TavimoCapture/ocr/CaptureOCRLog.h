#pragma once

#include <QLoggingCategory>

// Technical detail of text recognition: errno, paths, helper output.
Q_DECLARE_LOGGING_CATEGORY(ocrLog)
