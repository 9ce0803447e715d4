#include "CaptureThumbnailShortcut.h"

#include "NativeKeyText.h"

#include <QCoreApplication>
#include <QKeySequence>

CaptureThumbnailShortcut captureThumbnailShortcutFromStored(const QString &raw)
{
    return fromRawValue<CaptureThumbnailShortcut>(raw).value_or(CaptureThumbnailShortcut::optionE);
}

QString settingsLabel(CaptureThumbnailShortcut shortcut)
{
    const std::optional<QKeyCombination> keys = thumbnailHotKey(shortcut);
    return keys ? nativeKeyText(QKeySequence(*keys)) : QCoreApplication::translate("CaptureThumbnailShortcut", "Off");
}

std::optional<QKeyCombination> thumbnailHotKey(CaptureThumbnailShortcut shortcut)
{
    switch (shortcut) {
    case CaptureThumbnailShortcut::off:
        return std::nullopt;
    case CaptureThumbnailShortcut::e:
        return QKeyCombination(Qt::Key_E);
    case CaptureThumbnailShortcut::optionE:
        return QKeyCombination(Qt::AltModifier, Qt::Key_E);
    }
    return std::nullopt;
}
