#pragma once

#include "AppUpdates.h"
#include "MoxterClient.h"
#include "TavimoSignals.h"
#include "UpdateFixture.h"

#include <QStringList>

#include <memory>

// Keeps the events the telemetry facade hands over instead of sending them.
class RecordingClient : public MoxterClient {
public:
    RecordingClient();
    void setConsent(bool, const std::optional<QString> &, bool) override {}
    void event(TavimoEvent event) override;

    QStringList events;
};

// An AppUpdates over the loopback feed, with telemetry recorded and a busy
// state the test controls.
class CoordinatorFixture {
public:
    explicit CoordinatorFixture(QHash<QString, QString> bundleOverrides = {});

    BundleInfo bundle(const QHash<QString, QString> &overrides) const;
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
