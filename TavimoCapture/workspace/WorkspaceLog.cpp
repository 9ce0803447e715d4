#include "WorkspaceLog.h"

Q_LOGGING_CATEGORY(workspaceLog, "tavimo.workspace")
