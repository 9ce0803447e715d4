#pragma once

#include "CaptureCommand.h"
#include "CaptureExitStatus.h"

#include <QString>

#include <optional>

struct CaptureOutcome;

// What a start of tavimo-capture does before it may become the app: answer
// --help and --version, refuse a bad command line, hand its request to the
// running app, or take a capture for --output in this process (no tray, no
// editor) when no app runs. Messages go to standard error.
class CaptureLaunch {
public:
    // The exit status when this start is done; nothing when it should
    // become the app. Reads the arguments of the QCoreApplication.
    std::optional<int> finishWithoutApp();

    // For the app: where to listen, and the request it was started with.
    QString socketPath() const { return m_socketPath; }
    std::optional<CaptureRequest> request() const { return m_command.request; }

    // For an app that found another instance listening after all.
    int handOver();

private:
    CaptureRequest requestToSend() const;
    int finish(const CaptureOutcome &outcome) const;
    int captureHere() const;

    CaptureCommand m_command;
    QString m_socketPath;
};

// "tavimo-capture: " and `message` on standard error; `status` as a number.
int report(const QString &message, CaptureExitStatus status);
