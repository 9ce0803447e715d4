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
    TelemetrySession &relaunch()
    {
        launch().start(true);
        return *session;
    }
    bool hasMarkers() const
    {
        return defaults->contains(session->markerKey()) || defaults->contains(session->updateKey());
    }
};

TEST_F(TelemetrySessionTest, DetectsARunThatNeverFinished)
{
    TelemetrySession &first = launch();
    EXPECT_FALSE(first.start(true));
    TelemetrySession &killed = launch();
    EXPECT_TRUE(killed.start(true));
    EXPECT_FALSE(killed.start(true));
    killed.finish();
    EXPECT_FALSE(launch().start(true));
}

TEST_F(TelemetrySessionTest, AnUpdateIsReportedOnItsFirstRunOnly)
{
    relaunch().recordUpdateInstallation("1.5");
    EXPECT_TRUE(relaunch().consumeUpdateInstallation("1.5"));
    EXPECT_FALSE(relaunch().consumeUpdateInstallation("1.5"));
    session->recordUpdateInstallation("60");
    session->clearUpdateInstallation();
    EXPECT_FALSE(relaunch().consumeUpdateInstallation("60")) << "abandoned";
    session->recordUpdateInstallation("61");
    EXPECT_FALSE(relaunch().consumeUpdateInstallation("59"));
    EXPECT_FALSE(relaunch().consumeUpdateInstallation("61")) << "consumed in every case";
}

TEST_F(TelemetrySessionTest, ReportingOffRemovesEveryMarkerAndRecordsNothing)
{
    relaunch().recordUpdateInstallation("58");
    EXPECT_FALSE(launch().start(false));
    EXPECT_FALSE(hasMarkers());
    EXPECT_FALSE(launch().start(true)) << "a period without consent reports nothing";
    session->setEnabled(false);
    EXPECT_FALSE(hasMarkers());
    session->recordUpdateInstallation("58");
    EXPECT_FALSE(hasMarkers());
    session->setEnabled(true);
    EXPECT_EQ(defaults->boolValue(session->markerKey()), true);
    EXPECT_TRUE(launch().start(true));
    session->finish();
    launch().setEnabled(true);
    EXPECT_FALSE(hasMarkers()) << "enabling before start leaves no marker";
}

TEST_F(TelemetrySessionTest, OnlyPlainVersionsAreRecorded)
{
    for (const QString &valid : {QString("57"), QString("1.5.2"), QString(64, '9')})
        EXPECT_TRUE(TelemetrySession::isValidVersion(valid)) << valid.toStdString();
    EXPECT_FALSE(TelemetrySession::isValidVersion(QString(65, '9')));
    for (const char *invalid : {"", "1.5beta", "1.5 beta", "1..5", ".5", "1.", "1.5\n", "v2", "١"})
        EXPECT_FALSE(TelemetrySession::isValidVersion(QString::fromUtf8(invalid))) << invalid;
    relaunch().recordUpdateInstallation("1.5beta");
    EXPECT_FALSE(defaults->contains(session->updateKey()));
    defaults->setValue(session->updateKey(), "1.5beta");
    EXPECT_FALSE(session->consumeUpdateInstallation("1.5beta"));
}

} // namespace
