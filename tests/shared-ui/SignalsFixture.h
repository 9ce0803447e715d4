#pragma once

#include "BundleInfo.h"
#include "RecordingClient.h"
#include "TavimoSignals.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A TavimoSignals over a private settings file and a recording client. Each
// launch reads the settings file afresh, as a new process would; the previous
// instance goes without terminating, as if it had been killed.
class SignalsFixture : public testing::Test {
protected:
    QTemporaryDir folder;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<TavimoSignals> telemetry;
    RecordingClient *client = nullptr;
    static BundleInfo bundle(const QString &build, bool configured)
    {
        QHash<QString, QString> values{{"CFBundleIdentifier", "local.tavimo.capture"},
                                       {"CFBundleShortVersionString", "0.4.0"},
                                       {"CFBundleVersion", build},
                                       {"CFBundleDisplayName", "Tavimo Capture"},
                                       {"TavimoPrivacyPolicyURL", "https://tavimo.example/privacy?from=app&lang=en"}};
        if (configured) {
            values.insert("TavimoMoxterEndpoint", "https://moxter.example/");
            values.insert("TavimoMoxterKey", "secret");
        }
        return BundleInfo(values);
    }
    TavimoSignals &launch(const QString &build = "57", bool configured = true)
    {
        telemetry.reset();
        defaults = std::make_unique<UserDefaults>(folder.filePath("defaults.json"));
        auto recording = std::make_unique<RecordingClient>();
        client = recording.get();
        telemetry = std::make_unique<TavimoSignals>(bundle(build, configured), *defaults, std::move(recording));
        return *telemetry;
    }
    // Runs the operations posted to the client so far.
    void settle() { QCoreApplication::sendPostedEvents(telemetry.get()); }
    std::optional<QString> storedIdentifier() const { return defaults->stringValue(TavimoSignals::installationKey()); }
};
