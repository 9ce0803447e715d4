#include "CaptureEditorPolicy.h"

#include <QCoreApplication>

CaptureEditorPolicy captureEditorPolicyFromStored(const QString &raw)
{
    return fromRawValue<CaptureEditorPolicy>(raw).value_or(CaptureEditorPolicy::thumbnailOnly);
}

QString settingsLabel(CaptureEditorPolicy policy)
{
    switch (policy) {
    case CaptureEditorPolicy::always:
        return QCoreApplication::translate("CaptureEditorPolicy", "Always");
    case CaptureEditorPolicy::thumbnailOnly:
        return QCoreApplication::translate("CaptureEditorPolicy", "From thumbnail");
    case CaptureEditorPolicy::never:
        return QCoreApplication::translate("CaptureEditorPolicy", "Never");
    }
    return QString();
}
