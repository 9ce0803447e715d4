#include "CaptureShortcuts.h"

#include <QCoreApplication>

namespace {

QString unavailableWarning(CaptureMode mode)
{
    return QCoreApplication::translate("CaptureShortcuts", "%1: shortcut %2 is unavailable. Use the menu bar command.")
        .arg(captureModeTitle(mode), shortcutLabel(mode));
}

} // namespace

CaptureShortcuts::CaptureShortcuts(GlobalHotKeys &hotKeys, QObject *parent) : QObject(parent), m_hotKeys(hotKeys)
{
}

CaptureShortcuts::~CaptureShortcuts()
{
    unregisterShortcuts();
}

std::optional<QKeyCombination> CaptureShortcuts::hotKey(CaptureMode mode)
{
    switch (mode) {
    case CaptureMode::area:
        return Qt::CTRL | Qt::SHIFT | Qt::Key_2;
    case CaptureMode::ocr:
        return Qt::CTRL | Qt::SHIFT | Qt::Key_O;
    case CaptureMode::screen:
        return Qt::CTRL | Qt::SHIFT | Qt::Key_1;
    case CaptureMode::allDisplays:
        return std::nullopt;
    }
    return std::nullopt;
}

void CaptureShortcuts::setOnPress(std::function<void(CaptureMode)> onPress)
{
    m_onPress = std::move(onPress);
}

QStringList CaptureShortcuts::registerShortcuts()
{
    unregisterShortcuts();
    if (!m_hotKeys.isSupported())
        return {QCoreApplication::translate("CaptureShortcuts",
                                            "Global shortcuts could not be registered. Use the menu bar commands.")};
    m_handler = connect(&m_hotKeys, &GlobalHotKeys::pressed, this, &CaptureShortcuts::handlePress);

    QStringList warnings;
    for (const CaptureMode mode : allCaptureModes) {
        const std::optional<QKeyCombination> keys = hotKey(mode);
        if (!keys)
            continue;
        const GlobalHotKeys::Identifier identifier{signature, quint32(mode)};
        if (m_hotKeys.registerHotKey(*keys, identifier) == GlobalHotKeys::Status::registered)
            m_references.push_back(identifier);
        else
            warnings.append(unavailableWarning(mode));
    }
    return warnings;
}

void CaptureShortcuts::unregisterShortcuts()
{
    for (const GlobalHotKeys::Identifier &identifier : m_references)
        m_hotKeys.unregisterHotKey(identifier);
    m_references.clear();
    disconnect(m_handler);
}

bool CaptureShortcuts::handlePress(GlobalHotKeys::Identifier identifier)
{
    if (identifier.signature != signature)
        return false;
    const std::optional<CaptureMode> mode = captureModeFromRaw(identifier.id);
    if (!mode)
        return false;
    if (m_onPress)
        m_onPress(*mode);
    return true;
}
