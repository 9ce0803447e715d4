#pragma once

#include "CaptureCommand.h"
#include "CaptureExitStatus.h"

#include <QString>

#include <optional>

struct CaptureOutcome;

// What a start of tavimo-capture does before it may become the app: answer
// --help and --version, refuse a bad command line, hand its request to the
// running app, or, when no app runs, have a capture for --output taken in
// this process (no tray, no editor). Messages go to standard error.
class CaptureLaunch {
public:
    // The exit status when this start is done; nothing when it should
    // become the app or capture here. Reads the arguments of the QCoreApplication.
    std::optional<int> finishWithoutApp();

    // After finishWithoutApp(): whether this start takes its --output capture itself.
    bool capturesHere() const { return m_capturesHere; }
    // Whether that capture needs a GUI application: on Wayland the desktop's
    // picture is cut to the screens, which only a GUI application knows.
    static bool captureNeedsScreens();
    // Takes the capture inside the application that now runs; the exit status.
    int captureHere() const;

    // For the app: where to listen, and the request it was started with.
    QString socketPath() const { return m_socketPath; }
    std::optional<CaptureRequest> request() const { return m_command.request; }

    // For an app that found another instance listening after all.
    int handOver();

private:
    CaptureRequest requestToSend() const;
    int finish(const CaptureOutcome &outcome) const;

    CaptureCommand m_command;
    QString m_socketPath;
    bool m_capturesHere = false;
};

// "tavimo-capture: " and `message` on standard error; `status` as a number.
int report(const QString &message, CaptureExitStatus status);
