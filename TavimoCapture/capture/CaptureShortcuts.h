#pragma once

#include "CaptureMode.h"
#include "GlobalHotKeys.h"

#include <QKeyCombination>
#include <QObject>
#include <QStringList>

#include <functional>
#include <map>
#include <optional>
#include <vector>

// The desktop-wide capture keys: Ctrl+Shift+2 (area or window), Ctrl+Shift+O
// (text from an area) and Ctrl+Shift+1 (main display). A press calls onPress
// with its mode; keys that cannot be taken are reported as warnings so the
// user knows to use the menu instead. Desktops that ask the user first
// answer later: their warnings follow through `warningsChanged`. `hotKeys`
// must outlive this object.
class CaptureShortcuts : public QObject {
    Q_OBJECT

public:
    // "TCAP": the signature of these keys; the id is the mode's raw value.
    static constexpr quint32 signature = GlobalHotKeys::fourCharCode("TCAP");

    explicit CaptureShortcuts(GlobalHotKeys &hotKeys, QObject *parent = nullptr);
    ~CaptureShortcuts() override;

    // The mode's global key; none for all displays.
    static std::optional<QKeyCombination> hotKey(CaptureMode mode);

    // Called on the GUI thread for every press, also while a capture runs.
    void setOnPress(std::function<void(CaptureMode)> onPress);

    // Takes the keys, first releasing any held. Returns one warning per key
    // that could not be taken, in mode order; empty when all work.
    QStringList registerShortcuts();
    void unregisterShortcuts();
    // The warnings as they stand, also for answers that came later.
    QStringList warnings() const;

    // Runs onPress for a key of ours (signature "TCAP", id 1 to 4); false
    // for anything else, which is left alone.
    bool handlePress(GlobalHotKeys::Identifier identifier);

signals:
    void warningsChanged(const QStringList &warnings);

private:
    void handleRegistration(GlobalHotKeys::Identifier identifier, GlobalHotKeys::Status status);

    GlobalHotKeys &m_hotKeys;
    std::vector<GlobalHotKeys::Identifier> m_references;
    QMetaObject::Connection m_handler;
    QMetaObject::Connection m_registrationHandler;
    std::map<CaptureMode, GlobalHotKeys::Status> m_failures;
    std::function<void(CaptureMode)> m_onPress;
};
