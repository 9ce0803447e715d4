#include "CaptureMode.h"

#include "NativeKeyText.h"

#include <QCoreApplication>
#include <QKeySequence>

std::optional<CaptureMode> captureModeFromRaw(quint32 raw)
{
    if (raw < quint32(CaptureMode::area) || raw > quint32(CaptureMode::allDisplays))
        return std::nullopt;
    return CaptureMode(raw);
}

QString shortcutLabel(CaptureMode mode)
{
    switch (mode) {
    case CaptureMode::area:
        return nativeKeyText(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_2));
    case CaptureMode::ocr:
        return nativeKeyText(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    case CaptureMode::screen:
        return nativeKeyText(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_1));
    case CaptureMode::allDisplays:
        return QString();
    }
    return QString();
}

QString captureModeTitle(CaptureMode mode)
{
    switch (mode) {
    case CaptureMode::area:
        return QCoreApplication::translate("CaptureMode", "Capture area or window");
    case CaptureMode::ocr:
        return QCoreApplication::translate("CaptureMode", "Copy text from area");
    case CaptureMode::screen:
        return QCoreApplication::translate("CaptureMode", "Capture main display");
    case CaptureMode::allDisplays:
        return QCoreApplication::translate("CaptureMode", "Capture all displays");
    }
    return QString();
}

bool isInteractive(CaptureMode mode)
{
    return mode == CaptureMode::area || mode == CaptureMode::ocr;
}
