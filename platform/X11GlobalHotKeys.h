#pragma once

#include "GlobalHotKeys.h"

#include <QAbstractNativeEventFilter>

#include <xcb/xcb.h>

#include <memory>
#include <vector>

struct _XCBKeySymbols;

// Global hot keys on X11: each registration is a passive key grab on the
// root window, taken with every combination of Caps Lock and Num Lock so that
// the key works whatever locks are on. When the keyboard layout changes, the
// keys are taken again on their new key codes. A grab another client already holds
// makes the registration fail. Presses are read from the app's own X
// connection and reported through a queued call. Destroy it before the
// application object, which owns that connection.
class X11GlobalHotKeys : public GlobalHotKeys, private QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // Works over the app's X connection; without one nothing can be taken.
    explicit X11GlobalHotKeys(QObject *parent = nullptr);
    ~X11GlobalHotKeys() override;

    bool isSupported() const override;
    Status registerHotKey(QKeyCombination keys, Identifier identifier, const QString &description) override;
    void unregisterHotKey(Identifier identifier) override;

private:
    struct Grab {
        Identifier identifier;
        int key;
        xcb_keycode_t keycode;
        uint16_t modifiers;
    };
    struct KeySymbolsDeleter {
        void operator()(_XCBKeySymbols *symbols) const;
    };

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;
    bool isPressOf(const Grab &grab, const xcb_key_press_event_t &press) const;
    void remap(xcb_mapping_notify_event_t &notification);
    void deliverPress(Identifier identifier);
    xcb_keycode_t keycodeOf(int qtKey) const;
    uint16_t numLockMask() const;
    std::vector<uint16_t> lockCombinations() const;
    bool grab(xcb_keycode_t keycode, uint16_t modifiers);
    void ungrab(xcb_keycode_t keycode, uint16_t modifiers);

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    std::unique_ptr<_XCBKeySymbols, KeySymbolsDeleter> m_keySymbols;
    uint16_t m_numLockMask = 0;
    std::vector<Grab> m_grabs;
};
