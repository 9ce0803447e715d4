#include "CaptureErrorText.h"

#include "TypedError.h"
#include "WorkspaceLog.h"

#include <QCoreApplication>

QString CaptureErrorText::of(const std::exception &error)
{
    if (const auto *described = dynamic_cast<const DescribedError *>(&error))
        return described->description();
    qCWarning(workspaceLog) << "Unexpected failure:" << error.what();
    return QCoreApplication::translate("CaptureWorkspace", "The action could not be completed. Try again.");
}
