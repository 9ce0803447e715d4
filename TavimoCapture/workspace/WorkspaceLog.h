#pragma once

#include <QLoggingCategory>

// Technical detail of the workspace: errno, paths, helper output.
Q_DECLARE_LOGGING_CATEGORY(workspaceLog)
