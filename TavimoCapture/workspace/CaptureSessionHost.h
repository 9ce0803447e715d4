#pragma once

#include <QString>

// What the capture flow asks of the app's windows and of the desktop. The
// windows hidden for a run are remembered by the host until the next run.
class CaptureSessionHost {
public:
    virtual ~CaptureSessionHost() = default;

    // Takes the visible editor, settings and pinned-image windows (in that
    // order) off the screen, and the toast away.
    virtual void hideWindows() = 0;
    // Brings back every window the last hideWindows() took.
    virtual void restoreWindows() = 0;
    // Brings back again only the pinned images among them, above the editor.
    virtual void restorePins() = 0;
    // Remembers the active window when it belongs to another application.
    virtual void rememberActiveWindow() = 0;
    // Gives the focus back to the window rememberActiveWindow() found.
    virtual void reactivatePrevious() = 0;
    // Raises and activates the app, so the selection overlay gets the keys.
    virtual void activateApp() = 0;
    // A short message at the top right of the screen for 3 seconds.
    virtual void showToast(const QString &message) = 0;
};
