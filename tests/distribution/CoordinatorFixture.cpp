#include "CoordinatorFixture.h"

#include "AppSignalContext.h"

#include <QCoreApplication>

RecordingClient::RecordingClient() : MoxterClient(std::nullopt, AppSignalContext{})
{
}

void RecordingClient::event(TavimoEvent event)
{
    events.append(rawValue(event));
}

CoordinatorFixture::CoordinatorFixture(QHash<QString, QString> bundleOverrides)
    : client(new RecordingClient),
      tavimoSignals(std::make_unique<TavimoSignals>(bundle({}), *feed.defaults, std::unique_ptr<MoxterClient>(client)))
{
    tavimoSignals->start();
    updates = std::make_unique<AppUpdates>(bundle(bundleOverrides), feed.environment(), *tavimoSignals);
}

BundleInfo CoordinatorFixture::bundle(const QHash<QString, QString> &overrides) const
{
    QHash<QString, QString> values{
        {"CFBundleIdentifier", "local.tavimo.capture"},
        {"CFBundleVersion", feed.runningBuild},
        {"SUFeedURL", feed.server.url("/appcast.xml").toString()},
        {"SUPublicEDKey", feed.key.publicKeyBase64()},
        {"TavimoMoxterEndpoint", "https://127.0.0.1:9/"},
        {"TavimoMoxterKey", "test"},
    };
    values.insert(overrides);
    return BundleInfo(values);
}

void CoordinatorFixture::start()
{
    updates->start([this] {
        ++busyQuestions;
        return busy;
    });
}

QStringList CoordinatorFixture::updateEvents() const
{
    QCoreApplication::processEvents();
    return client->events.filter(QRegularExpression("^update\\."));
}

std::optional<QString> CoordinatorFixture::pendingInstallationMarker() const
{
    return feed.defaults->stringValue("tavimo.update.pending.v1.local.tavimo.capture");
}
