#include "TelemetrySession.h"
#include "UserDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Each launch reads the settings file afresh, as a new process would.
class TelemetrySessionTest : public testing::Test {
protected:
    QTemporaryDir folder;
    std::unique_ptr<UserDefaults> defaults;
    std::unique_ptr<TelemetrySession> session;

    TelemetrySession &launch()
    {
        session.reset();
        defaults = std::make_unique<UserDefaults>(folder.filePath("defaults.json"));
        session = std::make_unique<TelemetrySession>(*defaults, "local.tavimo.capture");
        return *session;
    }
};

TEST_F(TelemetrySessionTest, DetectsARunThatNeverFinished)
{
    TelemetrySession &first = launch();
    EXPECT_EQ(first.markerKey(), "tavimo.session.active.v1.local.tavimo.capture");
    EXPECT_EQ(first.updateKey(), "tavimo.update.pending.v1.local.tavimo.capture");
    EXPECT_FALSE(first.start(true));
    EXPECT_FALSE(first.start(true)) << "only the first start counts";

    TelemetrySession &killed = launch();
    EXPECT_TRUE(killed.start(true));
    EXPECT_FALSE(killed.start(true));
    killed.finish();

    EXPECT_FALSE(launch().start(true));
}

TEST_F(TelemetrySessionTest, ReportingOffRemovesEveryMarker)
{
    launch().start(true);
    session->recordUpdateInstallation("58");

    TelemetrySession &disabled = launch();
    EXPECT_FALSE(disabled.start(false));
    EXPECT_FALSE(defaults->contains(disabled.markerKey()));
    EXPECT_FALSE(defaults->contains(disabled.updateKey()));
    EXPECT_FALSE(launch().start(true)) << "a period without consent reports nothing";

    session->recordUpdateInstallation("58");
    session->setEnabled(false);
    EXPECT_FALSE(defaults->contains(session->markerKey()));
    EXPECT_FALSE(defaults->contains(session->updateKey()));
    session->recordUpdateInstallation("58");
    EXPECT_FALSE(defaults->contains(session->updateKey()));

    session->setEnabled(true);
    EXPECT_EQ(defaults->boolValue(session->markerKey()), true);
    EXPECT_TRUE(launch().start(true));
}

TEST_F(TelemetrySessionTest, EnablingBeforeStartLeavesNoMarker)
{
    TelemetrySession &fresh = launch();
    fresh.setEnabled(true);
    EXPECT_FALSE(defaults->contains(fresh.markerKey()));
}

TEST_F(TelemetrySessionTest, AnUpdateIsReportedOnItsFirstRunOnly)
{
    launch().start(true);
    session->recordUpdateInstallation("1.5");
    EXPECT_EQ(defaults->stringValue(session->updateKey()), "1.5");

    TelemetrySession &updated = launch();
    updated.start(true);
    EXPECT_TRUE(updated.consumeUpdateInstallation("1.5"));
    EXPECT_FALSE(defaults->contains(updated.updateKey()));

    TelemetrySession &next = launch();
    next.start(true);
    EXPECT_FALSE(next.consumeUpdateInstallation("1.5"));
}

TEST_F(TelemetrySessionTest, AnAbandonedOrDifferentUpdateIsNotReported)
{
    launch().start(true);
    session->recordUpdateInstallation("60");
    session->clearUpdateInstallation();
    EXPECT_FALSE(defaults->contains(session->updateKey()));

    session->recordUpdateInstallation("61");
    TelemetrySession &other = launch();
    other.start(true);
    EXPECT_FALSE(other.consumeUpdateInstallation("59"));
    EXPECT_FALSE(defaults->contains(other.updateKey())) << "consumed in every case";
}

TEST_F(TelemetrySessionTest, OnlyPlainVersionsAreRecorded)
{
    EXPECT_TRUE(TelemetrySession::isValidVersion("57"));
    EXPECT_TRUE(TelemetrySession::isValidVersion("1.5.2"));
    EXPECT_TRUE(TelemetrySession::isValidVersion(QString(64, '9')));
    EXPECT_FALSE(TelemetrySession::isValidVersion(QString(65, '9')));
    for (const char *invalid : {"", "1.5beta", "1.5 beta", "1..5", ".5", "1.", "1.5\n", "v2", "١"})
        EXPECT_FALSE(TelemetrySession::isValidVersion(QString::fromUtf8(invalid))) << invalid;

    launch().start(true);
    session->recordUpdateInstallation("1.5beta");
    EXPECT_FALSE(defaults->contains(session->updateKey()));

    defaults->setValue(session->updateKey(), "1.5beta");
    EXPECT_FALSE(session->consumeUpdateInstallation("1.5beta"));
}

} // namespace
