#pragma once

#include "GlobalHotKeys.h"

#include <QList>

#include <utility>

// Hot keys held in a list instead of the desktop; `taken` keys refuse to register.
class ScriptedHotKeys : public GlobalHotKeys {
public:
    QList<QKeyCombination> taken;
    QList<std::pair<QKeyCombination, Identifier>> held;

    bool isSupported() const override { return true; }
    Status registerHotKey(QKeyCombination keys, Identifier identifier, const QString &) override
    {
        unregisterHotKey(identifier);
        if (taken.contains(keys))
            return Status::taken;
        held.append({keys, identifier});
        return Status::registered;
    }
    void unregisterHotKey(Identifier identifier) override
    {
        held.removeIf([&](const auto &entry) { return entry.second == identifier; });
    }
    // A press as the desktop delivers it: to every owner, whatever it holds.
    void press(Identifier identifier) { emit pressed(identifier); }
};
