#include "CaptureEditorPolicy.h"

CaptureEditorPolicy captureEditorPolicyFromStored(const QString &raw)
{
    return fromRawValue<CaptureEditorPolicy>(raw).value_or(CaptureEditorPolicy::thumbnailOnly);
}

QString settingsLabel(CaptureEditorPolicy policy)
{
    switch (policy) {
    case CaptureEditorPolicy::always:
        return QStringLiteral("Always");
    case CaptureEditorPolicy::thumbnailOnly:
        return QStringLiteral("From thumbnail");
    case CaptureEditorPolicy::never:
        return QStringLiteral("Never");
    }
    return QString();
}
