#include "CoordinatorFixture.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

BundleInfo bundle(const UpdateFixture &feed, const QHash<QString, QString> &overrides)
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

} // namespace

CoordinatorFixture::CoordinatorFixture(const QHash<QString, QString> &bundleOverrides)
    : client(new RecordingClient), tavimoSignals(std::make_unique<TavimoSignals>(bundle(feed, {}), *feed.defaults,
                                                                                 std::unique_ptr<MoxterClient>(client)))
{
    tavimoSignals->start();
    updates = std::make_unique<AppUpdates>(bundle(feed, bundleOverrides), feed.environment(), *tavimoSignals);
}

void CoordinatorFixture::start()
{
    updates->start([this] {
        ++busyQuestions;
        return busy;
    });
}

void CoordinatorFixture::configurePendingWork(std::function<void()> action)
{
    updates->configurePendingWorkAction(workTitle, waitingMessage, std::move(action));
}

void CoordinatorFixture::holdBackAnUpdate()
{
    feed.publish({UpdateFixture::release("7")});
    busy = true;
    start();
    updates->check();
    ASSERT_TRUE(QTest::qWaitFor([this] { return updates->hasPendingInstallation(); }, 10000));
}

QStringList CoordinatorFixture::updateEvents() const
{
    QCoreApplication::processEvents();
    return client->calls.filter(QRegularExpression("^update\\."));
}

std::optional<QString> CoordinatorFixture::pendingInstallationMarker() const
{
    return feed.defaults->stringValue("tavimo.update.pending.v1.local.tavimo.capture");
}
