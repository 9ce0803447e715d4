#include "AppUpdater.h"
#include "UpdateFixture.h"
#include "UpdaterDelegate.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Records each step as text, e.g. "found 5", "abort 3001", "finish".
class RecordingDelegate : public QObject, public UpdaterDelegate {
    Q_OBJECT

public:
    void updaterDidFindValidUpdate(const AppcastItem &item) override { steps << "found " + item.version; }
    void updaterDidDownloadUpdate(const AppcastItem &item) override { steps << "downloaded " + item.version; }
    void updaterWillInstallUpdate(const AppcastItem &item) override { steps << "install " + item.version; }
    bool updaterShouldPostponeRelaunch(const AppcastItem &, std::function<void()> install) override
    {
        held = std::move(install);
        return postpone;
    }
    void updaterDidAbort(const UpdaterFailure &error) override
    {
        steps << "abort " + QString::number(int(error.code()));
    }
    void updaterDidFinishUpdateCycle(std::optional<UpdaterError> error) override
    {
        steps << (error ? QStringLiteral("finish %1").arg(int(*error)) : QStringLiteral("finish"));
        emit finished();
    }
    QStringList steps;
    bool postpone = false;
    std::function<void()> held;

signals:
    void finished();
};

struct UpdaterRun {
    UpdateFixture fixture;
    RecordingDelegate delegate;
    std::unique_ptr<AppUpdater> updater;
    void make()
    {
        updater = std::make_unique<AppUpdater>(fixture.configuration(), fixture.environment());
        updater->setDelegate(&delegate);
        updater->start();
    }
    // Runs one user-initiated cycle to its end and returns its steps.
    QStringList check()
    {
        if (!updater)
            make();
        delegate.steps.clear();
        QSignalSpy finished(&delegate, &RecordingDelegate::finished);
        updater->checkForUpdates();
        EXPECT_TRUE(finished.wait(10000));
        return delegate.steps;
    }
    int archiveRequests(const QString &version) const
    {
        return fixture.server.requestCount(QStringLiteral("/archive-") + version);
    }
};

const QStringList untouchedFolders{QStringLiteral("tavimo-capture")};

QStringList aborted(UpdaterError error)
{
    return {QStringLiteral("abort %1").arg(int(error)), QStringLiteral("finish %1").arg(int(error))};
}

// Publishes build 7, signed before `spoil` changes it.
std::function<void(UpdateFixture &)> publishedSpoilt(std::function<void(UpdateFixture::Release &)> spoil)
{
    return [spoil](UpdateFixture &fixture) {
        UpdateFixture::Release release = UpdateFixture::release("7");
        release.signature = fixture.key.sign(release.archive);
        spoil(release);
        fixture.publish({release});
    };
}

} // namespace

TEST(AppUpdater, InstallsTheNewestSignedBuildAndRelaunches)
{
    UpdaterRun run;
    UpdateFixture::Release invalid = UpdateFixture::release("9");
    invalid.version = "9-beta";
    run.fixture.publish(
        {UpdateFixture::release("4"), UpdateFixture::release("12"), UpdateFixture::release("5"), invalid});
    EXPECT_EQ(run.check(), QStringList({"found 12", "downloaded 12", "install 12", "finish"}));
    EXPECT_EQ(run.fixture.installedContents(), UpdateFixture::program("build 12"));
    EXPECT_EQ(run.fixture.relaunches, QStringList{run.fixture.installedPath});
    EXPECT_TRUE(QFileInfo(run.fixture.installedPath).isExecutable());
    EXPECT_EQ(run.fixture.leftoverFiles(), untouchedFolders);
    EXPECT_EQ(run.archiveRequests("4") + run.archiveRequests("5"), 0);
    EXPECT_EQ(run.check(), aborted(UpdaterError::noUpdate)) << "the installed build is now the running one";
    EXPECT_EQ(run.archiveRequests("12"), 1) << "no download when nothing is newer";
}

TEST(AppUpdater, RefusesUnsafeFeedsAndArchivesInstallingNothing)
{
    struct Case {
        const char *name;
        std::function<void(UpdateFixture &)> setUp;
        UpdaterError error;
        bool found; // the item passed the feed's checks and its archive was requested
    };
    const auto serving = [](const char *path, LoopbackHttpsServer::Response response) {
        return [=](UpdateFixture &fixture) {
            fixture.publish({UpdateFixture::release("7")});
            fixture.server.serve(path, response);
        };
    };
    const QList<Case> cases{
        {"one byte flipped", publishedSpoilt([](auto &r) { r.archive[100] = char(r.archive[100] ^ 1); }),
         UpdaterError::badSignature, true},
        {"signed by another key", publishedSpoilt([](auto &r) { r.signature = TestSigningKey().sign(r.archive); }),
         UpdaterError::badSignature, true},
        {"malformed signature", publishedSpoilt([](auto &r) { r.signature = QByteArray("not base64!"); }),
         UpdaterError::badSignature, true},
        {"missing signature", publishedSpoilt([](auto &r) { r.signature = QByteArray(); }),
         UpdaterError::missingSignature, false},
        {"announced longer", publishedSpoilt([](auto &r) { r.length = r.archive.size() + 1; }),
         UpdaterError::wrongLength, true},
        {"announced shorter", publishedSpoilt([](auto &r) { r.length = r.archive.size() - 1; }),
         UpdaterError::archiveTooLarge, true},
        {"beyond the archive bound", publishedSpoilt([](auto &r) { r.length = 512LL * 1024 * 1024 + 1; }),
         UpdaterError::archiveTooLarge, false},
        {"plain http archive", publishedSpoilt([](auto &r) { r.url = "http://127.0.0.1:1/archive"; }),
         UpdaterError::insecureLocation, false},
        {"signed but not a program", publishedSpoilt([](auto &r) {
             r.archive = "#!/bin/sh\nrm -rf ~\n" + QByteArray(100, ' ');
             r.signature.reset();
         }),
         UpdaterError::notExecutable, true},
        {"truncated download",
         serving("/archive-7",
                 {200, UpdateFixture::program("build 7").left(1000), {}, UpdateFixture::program("build 7").size()}),
         UpdaterError::downloadFailed, true},
        {"redirect to plain http", serving("/archive-7", {302, {}, "http://127.0.0.1:1/archive-7", 0}),
         UpdaterError::downloadFailed, true},
        {"feed over 1 MiB", serving("/appcast.xml", {200, QByteArray(1024 * 1024 + 1, ' '), {}, -1}),
         UpdaterError::feedTooLarge, false},
        {"not a feed", serving("/appcast.xml", {200, "<html>maintenance</html>", {}, -1}), UpdaterError::invalidFeed,
         false},
        {"server error", serving("/appcast.xml", {500, "oops", {}, -1}), UpdaterError::feedUnavailable, false},
        {"untrusted certificate",
         [](UpdateFixture &fixture) {
             fixture.publish({UpdateFixture::release("7")});
             fixture.tls = QSslConfiguration::defaultConfiguration();
         },
         UpdaterError::feedUnavailable, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        UpdaterRun run;
        c.setUp(run.fixture);
        EXPECT_EQ(run.check(), (c.found ? QStringList{"found 7"} : QStringList()) + aborted(c.error));
        EXPECT_EQ(run.archiveRequests("7"), c.found ? 1 : 0);
        EXPECT_EQ(run.fixture.installedContents(), UpdateFixture::program("installed"));
        EXPECT_EQ(run.fixture.leftoverFiles(), untouchedFolders);
        EXPECT_TRUE(run.fixture.relaunches.isEmpty());
    }
}

TEST(AppUpdater, AnswersOtherThanInstallDownloadNothing)
{
    UpdaterRun run;
    run.fixture.publish({UpdateFixture::release("7")});
    run.fixture.choice = UpdateChoice::remindLater;
    EXPECT_EQ(run.check(), QStringList{"found 7"} + aborted(UpdaterError::installationPostponed));
    run.fixture.choice = UpdateChoice::skipVersion;
    EXPECT_EQ(run.check(), QStringList{"found 7"} + aborted(UpdaterError::installationCanceled));
    EXPECT_EQ(run.archiveRequests("7"), 0);
    // A skipped build is not offered by scheduled checks, but asking still offers it.
    run.delegate.steps.clear();
    run.fixture.defaults->setValue("updates.lastCheckTime", 0.0);
    QSignalSpy finished(&run.delegate, &RecordingDelegate::finished);
    run.updater->setAutomaticallyChecksForUpdates(true);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(run.delegate.steps, aborted(UpdaterError::noUpdate));
    run.fixture.choice = UpdateChoice::install;
    EXPECT_EQ(run.check().first(), "found 7");
    EXPECT_EQ(run.fixture.installedContents(), UpdateFixture::program("build 7"));
}

TEST(AppUpdater, PostponedInstallationRunsOnceWhenReleased)
{
    UpdaterRun run;
    run.fixture.publish({UpdateFixture::release("7")});
    run.make();
    run.delegate.postpone = true;
    run.updater->checkForUpdates();
    ASSERT_TRUE(QTest::qWaitFor([&] { return run.delegate.steps.contains("downloaded 7"); }, 10000));
    EXPECT_EQ(run.fixture.installedContents(), UpdateFixture::program("installed"));
    ASSERT_TRUE(run.delegate.held);
    const QFileInfoList downloads = QDir(run.fixture.root.filePath("tmp")).entryInfoList(QDir::Files);
    ASSERT_EQ(downloads.size(), 1);
    EXPECT_EQ(downloads.first().permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner) << "private download";
    QSignalSpy finished(&run.delegate, &RecordingDelegate::finished);
    run.delegate.held();
    run.delegate.held();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(run.delegate.steps, QStringList({"found 7", "downloaded 7", "install 7", "finish"}));
    EXPECT_EQ(run.fixture.installedContents(), UpdateFixture::program("build 7"));
    EXPECT_EQ(run.fixture.relaunches.size(), 1);
}

TEST(AppUpdater, AutomaticSettingsPersistAndADayLaterInstallWithoutAsking)
{
    UpdaterRun run;
    run.fixture.publish({UpdateFixture::release("7")});
    const double now = double(QDateTime::currentSecsSinceEpoch());
    run.fixture.defaults->setValue("updates.lastCheckTime", now);
    run.make();
    QSignalSpy downloads(run.updater.get(), &AppUpdater::automaticallyDownloadsUpdatesChanged);
    run.updater->setAutomaticallyChecksForUpdates(true);
    run.updater->setAutomaticallyDownloadsUpdates(true);
    run.updater->setAutomaticallyDownloadsUpdates(true);
    EXPECT_EQ(downloads.size(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(run.fixture.server.requestCount("/appcast.xml"), 0) << "the last check was just now";
    run.updater.reset();
    run.fixture.defaults->setValue("updates.lastCheckTime", now - 25 * 3600);
    QSignalSpy finished(&run.delegate, &RecordingDelegate::finished);
    run.make();
    ASSERT_TRUE(finished.wait(10000)) << "the next start checks by itself";
    EXPECT_EQ(run.delegate.steps, QStringList({"found 7", "downloaded 7", "install 7", "finish"}));
    EXPECT_TRUE(run.fixture.prompted.isEmpty());
}

TEST(AppUpdater, DoesNotStartWithoutAnInstalledFileToReplace)
{
    UpdateFixture fixture;
    for (const QString &installed : {fixture.root.filePath("app/missing"), fixture.root.filePath("app"), QString()}) {
        UpdaterEnvironment environment = fixture.environment();
        environment.installedPath = installed;
        AppUpdater updater(fixture.configuration(), environment);
        EXPECT_EQ(UpdateFixture::failureOf([&] { updater.start(); }), UpdaterError::notInstallable)
            << installed.toStdString();
        EXPECT_FALSE(updater.canCheckForUpdates());
    }
}

#include "AppUpdaterTest.moc"
