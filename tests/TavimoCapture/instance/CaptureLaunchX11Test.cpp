#include "TestFiles.h"
#include "TestImageFiles.h"
#include "TestX11Client.h"
#include "X11PatternWindow.h"
#include "X11ScreenGrabber.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

#include <gtest/gtest.h>

namespace {

const QSize displaySize(1280, 800);

// Runs tavimo-capture as a user would, each test with its own runtime folder.
class CaptureLaunchX11Test : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_runtime.isValid() && m_folder.isValid()); }

    void TearDown() override
    {
        if (m_app.state() != QProcess::NotRunning) {
            m_app.kill();
            m_app.waitForFinished();
        }
    }

    QProcessEnvironment environment(const QString &tool = qEnvironmentVariable("TAVIMO_SCREENCAPTURE")) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", m_runtime.path());
        environment.insert("TAVIMO_SCREENCAPTURE", tool);
        return environment;
    }

    void start(QProcess &process, const QStringList &arguments, const QProcessEnvironment &environment)
    {
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_folder.path());
        process.start(TAVIMO_CAPTURE_PROGRAM, arguments);
        ASSERT_TRUE(process.waitForStarted());
    }

    int run(const QStringList &arguments, const QProcessEnvironment &environment)
    {
        start(m_run, arguments, environment);
        EXPECT_TRUE(m_run.waitForFinished(30000));
        return m_run.exitStatus() == QProcess::NormalExit ? m_run.exitCode() : -1;
    }
    int run(const QStringList &arguments) { return run(arguments, environment()); }

    QString standardError() { return QString::fromUtf8(m_run.readAllStandardError()); }

    // Starts the app and waits until it answers on its socket.
    bool startApp()
    {
        start(m_app, {}, environment());
        return QTest::qWaitFor(
            [&] {
                QLocalSocket probe;
                probe.connectToServer(m_runtime.filePath("tavimo-capture/instance"));
                return probe.waitForConnected(100);
            },
            10000);
    }

    QString file(const QString &name) const { return m_folder.filePath(name); }

    QTemporaryDir m_runtime;
    QTemporaryDir m_folder;
    QProcess m_run;
    QProcess m_app;
};

TEST_F(CaptureLaunchX11Test, OutputWritesAPngOrSaysWhyWithTheMatchingStatus)
{
    EXPECT_EQ(run({"--screen", "--output", "shot.png"}), 0) << standardError().toStdString();
    EXPECT_EQ(QImage(file("shot.png"), "PNG").size(), displaySize);

    const QByteArray before = [&] {
        QFile written(file("shot.png"));
        return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
    }();
    EXPECT_EQ(run({"--all-displays", "--output", "shot.png"}), 1);
    EXPECT_TRUE(standardError().contains("--overwrite"));
    QFile kept(file("shot.png"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), before);
    EXPECT_EQ(run({"--all-displays", "--output", "shot.png", "--overwrite"}), 0) << standardError().toStdString();
    EXPECT_EQ(QImage(file("shot.png"), "PNG").size(), displaySize);

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(run({"--screen", "--output", "-", "--delay", "1"}), 0);
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_EQ(QImage::fromData(m_run.readAllStandardOutput(), "PNG").size(), displaySize);

    EXPECT_EQ(run({"--screen", "--output", "missing/shot.png"}), 1);
    const QString reason = standardError();
    EXPECT_TRUE(reason.startsWith("tavimo-capture: ") && reason.count('\n') == 1) << reason.toStdString();
    EXPECT_EQ(run({"--screen", "--output", "broken.png"}, environment(file("no-such-tool"))), 1);
    EXPECT_TRUE(standardError().contains("could not be started"));
    EXPECT_FALSE(QFile::exists(file("broken.png")));

    EXPECT_EQ(run({"--bogus"}), 2);
    EXPECT_EQ(run({"--version"}), 0);
    EXPECT_TRUE(m_run.readAllStandardOutput().startsWith("Tavimo Capture 0.4.0"));
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_TRUE(m_run.readAllStandardOutput().contains("--output <FILE>"));
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::Files) == QStringList{"shot.png"});
}

TEST_F(CaptureLaunchX11Test, EscapeInTheSelectionCancelsWithStatusThree)
{
    const std::unique_ptr<X11ScreenGrabber> screen = X11ScreenGrabber::connect();
    const QRect area(100, 80, 200, 150);
    X11PatternWindow window(area);
    ASSERT_TRUE(screen && window.showOn(*screen));
    start(m_run, {"--area", "--output", "area.png"}, environment());
    // The overlay dims what it covers.
    const QImage shown = screen->grab(area);
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->grab(area) != shown; }, 10000)) << "no overlay";
    ASSERT_TRUE(TestX11Client::press("Escape"));
    ASSERT_TRUE(m_run.waitForFinished(10000));
    EXPECT_EQ(m_run.exitCode(), 3);
    EXPECT_FALSE(QFile::exists(file("area.png")));
}

TEST_F(CaptureLaunchX11Test, ASecondStartHandsItsRequestToTheRunningAppAndExits)
{
    const std::unique_ptr<X11ScreenGrabber> screen = X11ScreenGrabber::connect();
    ASSERT_TRUE(screen);
    const QImage desktop = screen->grab(QRect(QPoint(), displaySize)).convertToFormat(QImage::Format_RGB32);
    ASSERT_TRUE(startApp());
    // The second start has no working screenshot tool: only the running app can take the capture.
    EXPECT_EQ(run({"--screen", "--output", "handed.png"}, environment(file("no-such-tool"))), 0)
        << standardError().toStdString();
    const QImage handed(file("handed.png"), "PNG");
    EXPECT_EQ(handed.size(), displaySize);
    EXPECT_TRUE(handed.convertToFormat(QImage::Format_RGB32) == desktop) << "the editor stays out of the capture";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return screen->grab(QRect(QPoint(), displaySize)).convertToFormat(QImage::Format_RGB32) != desktop; },
        5000))
        << "the editor is back";
    EXPECT_EQ(run({"--editor"}), 0);
    EXPECT_EQ(run({}), 0);
    EXPECT_EQ(m_app.state(), QProcess::Running);

    // A killed app leaves its socket behind; the next start takes it over.
    ::kill(pid_t(m_app.processId()), SIGKILL);
    ASSERT_TRUE(m_app.waitForFinished());
    ASSERT_TRUE(QFile::exists(m_runtime.filePath("tavimo-capture/instance")));
    ASSERT_TRUE(startApp());
    EXPECT_EQ(run({"--screen", "--output", "after.png"}, environment(file("no-such-tool"))), 0)
        << standardError().toStdString();
    EXPECT_EQ(QImage(file("after.png"), "PNG").size(), displaySize);
}

TEST_F(CaptureLaunchX11Test, OpenSaysWhyAFileCannotBeOpenedAndHandsOverOnlyImages)
{
    ASSERT_TRUE(startApp());
    writeFile(file("huge.png"), TestImageFiles::whitePng(QSize(10001, 8000)));
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {"/nonexistent.png", "This file could not be found. Check its name and folder."},
        {file("huge.png"), "Choose an image up to 80 megapixels."},
    };
    for (const auto &refused : cases) {
        SCOPED_TRACE(refused.path.toStdString());
        EXPECT_EQ(run({"--open", refused.path}), 1);
        EXPECT_EQ(standardError(), "tavimo-capture: " + refused.path + ": " + refused.reason + "\n");
    }
    ASSERT_TRUE(QImage(QSize(40, 30), QImage::Format_RGB32).save(file("fine.png")));
    EXPECT_EQ(run({"--open", "fine.png"}), 0) << standardError().toStdString();
    EXPECT_EQ(m_app.state(), QProcess::Running);
}

} // namespace
