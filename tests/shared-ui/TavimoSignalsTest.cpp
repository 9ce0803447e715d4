#include "SignalsFixture.h"
#include "TelemetryPreferences.h"

#include <QRegularExpression>
#include <QSignalSpy>

namespace {

using TavimoSignalsTest = SignalsFixture;

const QString markerKey = "tavimo.session.active.v1.local.tavimo.capture";
const QString updateKey = "tavimo.update.pending.v1.local.tavimo.capture";

TEST_F(TavimoSignalsTest, AFirstLaunchRecordsTheOpeningUnderANewIdentifier)
{
    launch();
    EXPECT_TRUE(telemetry->enabled() && telemetry->locationEnabled() && telemetry->configured());
    telemetry->start();
    telemetry->start();
    settle();
    const std::optional<QString> identifier = storedIdentifier();
    ASSERT_TRUE(identifier);
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$")
                    .match(*identifier)
                    .hasMatch())
        << identifier->toStdString();
    EXPECT_EQ(client->calls, QStringList({"consent", "app.opened"}));
    EXPECT_EQ(client->consents.first().installation, identifier);
    EXPECT_EQ(defaults->boolValue(markerKey), true);
    launch().start();
    settle();
    EXPECT_EQ(client->consents.first().installation, identifier) << "the identifier is kept";
    defaults->setValue(TavimoSignals::installationKey(), "not-a-uuid");
    telemetry->track(TavimoEvent::captureArea);
    settle();
    EXPECT_NE(storedIdentifier().value_or("not-a-uuid"), "not-a-uuid");
    EXPECT_EQ(client->consents.last().installation, storedIdentifier());
}

TEST_F(TavimoSignalsTest, AnUncleanExitAndAnInstalledUpdateAreReportedOnce)
{
    launch("56").start();
    launch("56").start();
    settle();
    EXPECT_EQ(client->events, QList({TavimoEvent::appOpened, TavimoEvent::appUncleanExit}));
    telemetry->recordUpdateInstallation("57");
    telemetry->applicationWillTerminate();
    launch("57").start();
    settle();
    EXPECT_EQ(client->events, QList({TavimoEvent::appOpened, TavimoEvent::updateInstalled}));
    telemetry->recordUpdateInstallation("58");
    telemetry->clearUpdateInstallation();
    telemetry->applicationWillTerminate();
    launch("58").start();
    settle();
    EXPECT_EQ(client->events, QList({TavimoEvent::appOpened}));
}

TEST_F(TavimoSignalsTest, OffAndOnForgetsEverythingAndEndsWithOneConsentUnderANewIdentifier)
{
    launch().start();
    telemetry->recordUpdateInstallation("58");
    settle();
    const QString first = storedIdentifier().value();
    client->calls.clear();
    client->consents.clear();
    QSignalSpy changes(telemetry.get(), &TavimoSignals::enabledChanged);
    telemetry->setEnabled(false);
    EXPECT_EQ(changes.size(), 1);
    EXPECT_EQ(defaults->boolValue(TelemetryPreferences::usageKey()), false);
    EXPECT_FALSE(storedIdentifier() || defaults->contains(markerKey) || defaults->contains(updateKey));
    telemetry->track(TavimoEvent::captureArea);
    EXPECT_FALSE(storedIdentifier()) << "tracking while off makes no identifier";
    telemetry->setEnabled(true);
    settle();
    EXPECT_EQ(client->calls, QStringList({"withdraw", "consent"}));
    ASSERT_EQ(client->consents.size(), 2);
    EXPECT_FALSE(client->consents[0].installation);
    EXPECT_EQ(client->consents[1].installation, storedIdentifier());
    EXPECT_NE(storedIdentifier(), first);
    EXPECT_EQ(defaults->boolValue(markerKey), true);
}

TEST_F(TavimoSignalsTest, AnEventJustBeforeTurningOffIsDroppedEvenWhenTurnedOnAgain)
{
    launch();
    telemetry->track(TavimoEvent::captureArea);
    telemetry->setEnabled(false);
    telemetry->track(TavimoEvent::captureScreen);
    telemetry->setEnabled(true);
    settle();
    EXPECT_EQ(client->calls, QStringList({"withdraw", "consent"}));
}

TEST_F(TavimoSignalsTest, TheCitySwitchFollowsUsage)
{
    TavimoSignals &telemetry = launch();
    telemetry.setLocationEnabled(false);
    EXPECT_EQ(defaults->boolValue(TelemetryPreferences::cityKey()), false);
    telemetry.track(TavimoEvent::captureOCR);
    settle();
    ASSERT_EQ(client->consents.size(), 2);
    EXPECT_FALSE(client->consents[0].location || client->consents[1].location);
    EXPECT_EQ(client->events, QList({TavimoEvent::captureOCR}));
    telemetry.setEnabled(false);
    telemetry.setLocationEnabled(true);
    settle();
    EXPECT_FALSE(client->consents.last().consent || client->consents.last().installation || storedIdentifier());
    const TavimoSignals &relaunched = launch();
    EXPECT_FALSE(relaunched.enabled()) << "choices survive a relaunch";
    EXPECT_TRUE(relaunched.locationEnabled());
}

TEST_F(TavimoSignalsTest, AnUnconfiguredBuildOrEarlierRefusalRecordsNothing)
{
    TavimoSignals &unconfigured = launch("57", false);
    EXPECT_FALSE(unconfigured.configured());
    unconfigured.start();
    unconfigured.track(TavimoEvent::captureArea);
    unconfigured.setEnabled(true);
    settle();
    EXPECT_TRUE(client->events.isEmpty());
    EXPECT_FALSE(storedIdentifier() || defaults->contains(markerKey));
    defaults->setValue(TelemetryPreferences::usageKey(), false);
    defaults->setValue(markerKey, true);
    defaults->setValue(updateKey, "57");
    TavimoSignals &refused = launch();
    EXPECT_FALSE(refused.enabled());
    EXPECT_FALSE(defaults->contains(markerKey) || defaults->contains(updateKey)) << "no markers are left behind";
    refused.start();
    settle();
    EXPECT_TRUE(client->calls.isEmpty());
}

} // namespace
