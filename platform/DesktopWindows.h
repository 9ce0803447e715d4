#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <xcb/xcb.h>

// The top-level windows a user can pick on an X11 desktop.
namespace DesktopWindows {

// Outer rectangles (frames included) of the viewable top-level windows,
// bottom to top, in desktop coordinates.
QList<QRect> query(xcb_connection_t *connection, xcb_window_t root);

// The topmost of `windows` under `point`, or an empty rectangle.
QRect topmostAt(const QList<QRect> &windows, const QPoint &point);

} // namespace DesktopWindows
