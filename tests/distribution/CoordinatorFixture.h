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
    explicit CoordinatorFixture(const QHash<QString, QString> &bundleOverrides = {});

    void start();
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
