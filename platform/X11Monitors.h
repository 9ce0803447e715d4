#pragma once

#include "ScreenGrabber.h"

#include <xcb/xcb.h>

// The monitors of an X11 screen as RandR lists them.
namespace X11Monitors {

// Sorted by output id. Without RandR 1.5 the whole root window is one monitor.
QList<ScreenGrabber::Monitor> query(xcb_connection_t *connection, const xcb_screen_t *screen);

// The primary monitor, or the first when none is primary. `monitors` must not be empty.
ScreenGrabber::Monitor main(const QList<ScreenGrabber::Monitor> &monitors);

} // namespace X11Monitors
