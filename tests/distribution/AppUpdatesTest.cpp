#include "CoordinatorFixture.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Checks and waits until the cycle has run its course.
void checkAndWait(CoordinatorFixture &run)
{
    run.updates->check();
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.updates->canCheck(); }, 10000));
}

} // namespace

TEST(AppUpdates, ReviewBuildsNeverCreateTheUpdater)
{
    for (const auto &overrides : {QHash<QString, QString>{{"CFBundleIdentifier", "local.tavimo.capture.review"}},
                                  QHash<QString, QString>{{"TavimoReviewLibrary", "YES"}}}) {
        CoordinatorFixture run(overrides);
        run.feed.publish({UpdateFixture::release("7")});
        run.start();
        EXPECT_EQ(run.updates->message(), "Updates are disabled in review builds.");
        EXPECT_FALSE(run.updates->available() || run.updates->canCheck() || run.updates->menuItem()->isEnabled());
        run.updates->check();
        run.updates->setAutomaticChecks(true);
        QCoreApplication::processEvents();
        EXPECT_FALSE(run.updates->automaticChecks());
        EXPECT_EQ(run.feed.server.requestCount("/appcast.xml"), 0);
    }
}

TEST(AppUpdates, UnusableFeedSettingsLeaveUpdatesUnpublished)
{
    const QList<QHash<QString, QString>> builds{
        {{"SUPublicEDKey", QByteArray(31, 'k').toBase64()}},
        {{"SUFeedURL", "http://127.0.0.1:1/appcast.xml"}},
    };
    for (const auto &overrides : builds) {
        CoordinatorFixture run(overrides);
        run.feed.publish({UpdateFixture::release("7")});
        run.start();
        run.updates->check();
        QCoreApplication::processEvents();
        EXPECT_EQ(run.updates->message(), "Updates are not published for this build yet.");
        EXPECT_FALSE(run.updates->available() || run.updates->validateMenuItem(run.updates->menuItem()));
        EXPECT_TRUE(run.updateEvents().isEmpty());
        EXPECT_EQ(run.feed.server.requestCount("/appcast.xml"), 0);
        EXPECT_EQ(run.feed.installedContents(), UpdateFixture::program("installed"));
        EXPECT_EQ(run.feed.leftoverFiles(), QStringList{"tavimo-capture"});
    }
}

TEST(AppUpdates, StartFailureIsReported)
{
    CoordinatorFixture run;
    QFile::remove(run.feed.installedPath);
    run.start();
    EXPECT_EQ(run.updates->message(), "Updates could not start: " + description(UpdaterError::notInstallable));
    EXPECT_FALSE(run.updates->available());
    EXPECT_EQ(run.updateEvents(), QStringList{"update.failed"});
}

TEST(AppUpdates, UpToDateRefusedPostponedThenInstalledAtOnce)
{
    CoordinatorFixture run;
    run.feed.publish({UpdateFixture::release("3"), UpdateFixture::release("2")});
    run.start();
    EXPECT_TRUE(run.updates->available() && run.updates->menuItem()->isEnabled());
    checkAndWait(run);
    EXPECT_EQ(run.updates->message(), "You're up to date.");
    EXPECT_TRUE(run.updateEvents().isEmpty());
    UpdateFixture::Release tampered = UpdateFixture::release("7");
    tampered.signature = run.feed.key.sign(tampered.archive);
    tampered.archive[64] = 'y';
    run.feed.publish({tampered});
    checkAndWait(run);
    EXPECT_EQ(run.updates->message(), "The update was not installed. You can check for updates again.");
    EXPECT_EQ(run.updateEvents(), QStringList({"update.found", "update.failed"}));
    EXPECT_EQ(run.feed.installedContents(), UpdateFixture::program("installed"));
    EXPECT_FALSE(run.pendingInstallationMarker());
    EXPECT_EQ(run.feed.leftoverFiles(), QStringList{"tavimo-capture"});
    run.feed.publish({UpdateFixture::release("7")});
    for (UpdateChoice choice : {UpdateChoice::skipVersion, UpdateChoice::remindLater}) {
        run.feed.choice = choice;
        checkAndWait(run);
        EXPECT_EQ(run.updates->message(), "Update installation postponed. You can check again when ready.");
        EXPECT_TRUE(run.feed.relaunches.isEmpty());
    }
    EXPECT_EQ(run.updateEvents().mid(2), QStringList({"update.found", "update.found"}));
    run.feed.choice = UpdateChoice::install;
    run.updates->check();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !run.feed.relaunches.isEmpty(); }, 10000))
        << "an idle app installs at once";
    EXPECT_EQ(run.feed.installedContents(), UpdateFixture::program("build 7"));
    EXPECT_EQ(run.updateEvents().mid(4), QStringList({"update.found", "update.downloaded"}));
    EXPECT_EQ(run.pendingInstallationMarker(), "7");
}

TEST(AppUpdates, BusyAppWaitsThenInstallsWithinASecondOfBecomingIdle)
{
    CoordinatorFixture run;
    run.configurePendingWork([] {});
    QAction *pendingWork = run.updates->pendingWorkMenuItem();
    ASSERT_NO_FATAL_FAILURE(run.holdBackAnUpdate());
    EXPECT_EQ(run.updates->message(), run.waitingMessage);
    EXPECT_TRUE(pendingWork->isVisible());
    EXPECT_EQ(run.updateEvents(), QStringList({"update.found", "update.downloaded"}));
    const int questions = run.busyQuestions;
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.busyQuestions > questions; }, 5000));
    EXPECT_EQ(run.feed.installedContents(), UpdateFixture::program("installed")) << "nothing while busy";
    run.busy = false;
    QElapsedTimer idle;
    idle.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.updates->message() == "Installing update…"; }, 5000));
    EXPECT_LT(idle.elapsed(), 2500);
    EXPECT_FALSE(pendingWork->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !run.feed.relaunches.isEmpty(); }, 10000));
    EXPECT_EQ(run.feed.installedContents(), UpdateFixture::program("build 7"));
    EXPECT_EQ(run.feed.relaunches.size(), 1);
}

TEST(AppUpdates, ResolvingPendingWorkInstallsOnceTheWorkIsClosed)
{
    CoordinatorFixture run;
    int actions = 0;
    run.configurePendingWork([&] {
        ++actions;
        run.updates->resolvePendingWork();
        run.busy = actions < 2;
    });
    EXPECT_EQ(run.updates->pendingWorkActionTitle(), std::nullopt);
    run.updates->resolvePendingWork();
    EXPECT_EQ(actions, 0) << "nothing is pending yet";
    ASSERT_NO_FATAL_FAILURE(run.holdBackAnUpdate());
    run.updates->resolvePendingWork();
    EXPECT_EQ(actions, 1) << "the action does not run again from inside itself";
    EXPECT_TRUE(run.updates->hasPendingInstallation()) << "the work stayed open";
    run.updates->resolvePendingWork();
    EXPECT_EQ(actions, 2);
    EXPECT_EQ(run.updates->message(), "Installing update…");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !run.feed.relaunches.isEmpty(); }, 10000));
    EXPECT_EQ(run.feed.installedContents(), UpdateFixture::program("build 7"));
}

TEST(AppUpdates, SettingsMirrorTheUpdater)
{
    CoordinatorFixture run;
    run.updates->setAutomaticChecks(true);
    EXPECT_FALSE(run.updates->automaticChecks()) << "no effect before the updater exists";
    run.feed.defaults->setValue("updates.lastCheckTime", double(QDateTime::currentSecsSinceEpoch()));
    run.start();
    QSignalSpy checks(run.updates.get(), &AppUpdates::automaticChecksChanged);
    run.updates->setAutomaticChecks(true);
    run.updates->setAutomaticDownloads(true);
    EXPECT_TRUE(run.updates->automaticChecks() && run.updates->automaticDownloads());
    EXPECT_EQ(checks.size(), 1);
    EXPECT_EQ(run.feed.defaults->boolValue("updates.automaticChecks"), true);
}
