#pragma once

#include "CaptureClipboard.h"

class QMimeData;

// The clipboard of the desktop session, through the running QGuiApplication.
// A write counts as refused when the application does not hold the clipboard
// afterwards (on X11 another client may take or refuse the selection).
class CaptureSystemClipboard : public CaptureClipboard {
public:
    bool setPng(const QByteArray &png) override;
    bool setText(const QString &text) override;

private:
    static bool offer(QMimeData *data);
};
