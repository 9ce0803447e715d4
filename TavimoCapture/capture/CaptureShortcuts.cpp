#include "CaptureShortcuts.h"

namespace {

const QString unsupportedWarning =
    QStringLiteral("Global shortcuts could not be registered. Use the menu bar commands.");
// Desktops without global shortcuts for apps still run commands on keys.
const QString commandLineAdvice =
    QStringLiteral("To capture with a key, bind one in your desktop's keyboard settings to "
                   "\"tavimo-capture --area\", \"tavimo-capture --text\" or \"tavimo-capture --screen\".");

QString unavailableWarning(CaptureMode mode)
{
    return captureModeTitle(mode) + QStringLiteral(": shortcut ") + shortcutLabel(mode) +
           QStringLiteral(" is unavailable. Use the menu bar command.");
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
        return {unsupportedWarning};
    m_handler = connect(&m_hotKeys, &GlobalHotKeys::pressed, this, &CaptureShortcuts::handlePress);
    m_registrationHandler =
        connect(&m_hotKeys, &GlobalHotKeys::registrationFinished, this, &CaptureShortcuts::handleRegistration);

    for (const CaptureMode mode : allCaptureModes) {
        const std::optional<QKeyCombination> keys = hotKey(mode);
        if (!keys)
            continue;
        const GlobalHotKeys::Identifier identifier{signature, quint32(mode)};
        const GlobalHotKeys::Status status = m_hotKeys.registerHotKey(*keys, identifier, captureModeTitle(mode));
        if (status == GlobalHotKeys::Status::registered || status == GlobalHotKeys::Status::pending)
            m_references.push_back(identifier);
        else
            m_failures[mode] = status;
    }
    return warnings();
}

QStringList CaptureShortcuts::warnings() const
{
    QStringList lines;
    for (const auto &[mode, status] : m_failures) {
        if (status == GlobalHotKeys::Status::unsupported)
            return {unsupportedWarning, commandLineAdvice};
        lines.append(unavailableWarning(mode));
    }
    return lines;
}

void CaptureShortcuts::handleRegistration(GlobalHotKeys::Identifier identifier, GlobalHotKeys::Status status)
{
    const std::optional<CaptureMode> mode = captureModeFromRaw(identifier.id);
    if (identifier.signature != signature || !mode || status == GlobalHotKeys::Status::registered)
        return;
    std::erase(m_references, identifier);
    m_failures[*mode] = status;
    emit warningsChanged(warnings());
}

void CaptureShortcuts::unregisterShortcuts()
{
    for (const GlobalHotKeys::Identifier &identifier : m_references)
        m_hotKeys.unregisterHotKey(identifier);
    m_references.clear();
    m_failures.clear();
    disconnect(m_handler);
    disconnect(m_registrationHandler);
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
