#pragma once

#include <QtGlobal>

#include <xcb/xcb.h>

// The window that has the keyboard focus on an X11 desktop, as the window
// manager announces it in _NET_ACTIVE_WINDOW. Without X11 or a window
// manager that keeps the property, nothing is found and nothing happens.
class X11ActiveWindow {
public:
    // Over the app's own X connection.
    X11ActiveWindow();

    // The active window; XCB_WINDOW_NONE when there is none.
    xcb_window_t current() const;
    // Asks the window manager to give `window` the focus, as a pager would.
    void activate(xcb_window_t window) const;

private:
    xcb_atom_t atom() const;

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
};
