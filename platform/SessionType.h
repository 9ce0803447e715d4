#pragma once

// The kind of desktop session the app runs in. On Wayland captures and global
// keys go through the desktop portal, also when the app itself runs on
// XWayland; on X11 they go straight to the X server.
enum class SessionType {
    x11,
    wayland,
};

// $TAVIMO_SESSION_TYPE ("x11" or "wayland") when set, for tests and bug
// reports; else Wayland when $WAYLAND_DISPLAY is set or $XDG_SESSION_TYPE is
// "wayland"; else X11.
SessionType currentSessionType();
