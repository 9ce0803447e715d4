#pragma once

#include "AppUpdates.h"
#include "RecordingClient.h"
#include "TavimoSignals.h"
#include "UpdateFixture.h"

#include <QStringList>

#include <memory>

// An AppUpdates over the loopback feed, with telemetry recorded and a busy
// state the test controls.
class CoordinatorFixture {
public:
    // The pending-work action as the editor configures it.
    static inline const QString workTitle = "Save or Close Capture to Update…";
    static inline const QString waitingMessage =
        "Update ready. Waiting for capture or text processing to finish, or for the open capture to close.";
    explicit CoordinatorFixture(const QHash<QString, QString> &bundleOverrides = {});
    void start();
    void configurePendingWork(std::function<void()> action);
    // Starts busy, checks and waits until build 7 is downloaded and held back.
    void holdBackAnUpdate();
    // The "update.*" events recorded so far.
    QStringList updateEvents() const;
    // The build recorded as about to be installed, if any.
    std::optional<QString> pendingInstallationMarker() const;
    UpdateFixture feed;
    RecordingClient *client;
    std::unique_ptr<TavimoSignals> tavimoSignals;
    std::unique_ptr<AppUpdates> updates;
    bool busy = false;
    int busyQuestions = 0;
};
