#pragma once

#include <QByteArray>
#include <QString>

// The desktop's clipboard as the workspace and the capture flow use it. Each
// call replaces whatever the clipboard held.
class CaptureClipboard {
public:
    virtual ~CaptureClipboard() = default;

    // An "image/png" encoding; false when the clipboard refused it.
    virtual bool setPng(const QByteArray &png) = 0;
    // Plain text; false when the clipboard refused it.
    virtual bool setText(const QString &text) = 0;
};
