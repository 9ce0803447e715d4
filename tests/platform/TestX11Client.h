#pragma once

#include <QProcess>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

// Another program on the test display, with its own X connection: it grabs
// keys as a rival would and watches which presses reach it.
class TestX11Client {
public:
    TestX11Client();
    ~TestX11Client();
    TestX11Client(const TestX11Client &) = delete;
    TestX11Client &operator=(const TestX11Client &) = delete;

    // Acts through XTEST as a user would; true on success.
    static bool xdotool(const QStringList &arguments)
    {
        return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
    }
    static bool press(const QString &keys) { return xdotool({QStringLiteral("key"), keys}); }

    bool isConnected() const { return xcb_connection_has_error(m_connection) == 0; }
    // True when the server grants `keysym` with exactly `modifiers` on the root window.
    bool grabKey(xcb_keysym_t keysym, uint16_t modifiers);
    bool waitForKeyPress(xcb_keysym_t keysym, int timeoutMs);
    uint16_t modifierState();

private:
    xcb_keycode_t keycodeOf(xcb_keysym_t keysym);

    xcb_connection_t *m_connection;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_key_symbols_t *m_symbols = nullptr;
};
