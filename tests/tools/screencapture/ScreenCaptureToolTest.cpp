#include "X11Monitors.h"
#include "X11PatternWindow.h"
#include "X11ScreenGrabber.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QRect windowArea(100, 80, 400, 300);

class ScreenCaptureToolTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(m_screen);
        ASSERT_TRUE(m_window.showOn(*m_screen));
        m_output = m_folder.filePath(QStringLiteral("shot.png"));
    }

    void start(const QStringList &arguments)
    {
        m_tool.start(qEnvironmentVariable("TAVIMO_SCREENCAPTURE"), arguments);
        ASSERT_TRUE(m_tool.waitForStarted());
    }

    // The overlay is up once the pattern on the screen is dimmed.
    bool waitForOverlay() { return waitForProbe(false); }
    // A highlighted window shows undimmed.
    bool waitForHighlight() { return waitForProbe(true); }

    bool waitForProbe(bool showingPattern)
    {
        const QPoint inWindow(10, 10);
        const QImage pattern = m_window.pattern().copy(QRect(inWindow, QSize(1, 1)));
        const QRect probe(windowArea.topLeft() + inWindow, QSize(1, 1));
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && m_tool.state() == QProcess::Running) {
            if ((m_screen->grab(probe) == pattern) == showingPattern)
                return true;
            QThread::msleep(5);
        }
        return false;
    }

    int exitCode()
    {
        EXPECT_TRUE(m_tool.waitForFinished(20000));
        EXPECT_EQ(m_tool.exitStatus(), QProcess::NormalExit);
        return m_tool.exitCode();
    }

    QImage written() const { return QImage(m_output).convertToFormat(QImage::Format_RGB32); }

    static void xdotool(const QStringList &arguments)
    {
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
    }

    QTemporaryDir m_folder;
    std::unique_ptr<X11ScreenGrabber> m_screen = X11ScreenGrabber::connect();
    X11PatternWindow m_window{windowArea};
    QProcess m_tool;
    QString m_output;
};

TEST_F(ScreenCaptureToolTest, MainDisplayIsWhatTheScreenShows)
{
    start({"-x", "-t", "png", "-m", m_output});
    EXPECT_EQ(exitCode(), 0);
    const QImage image = written();
    ASSERT_EQ(image.size(), QSize(1280, 800));
    EXPECT_EQ(image.copy(windowArea), m_window.pattern());
}

TEST_F(ScreenCaptureToolTest, DragTakesExactlyTheDraggedArea)
{
    start({"-x", "-t", "png", "-i", "-s", m_output});
    ASSERT_TRUE(waitForOverlay());
    xdotool({"mousemove", "150", "100", "mousedown", "1", "mousemove", "250", "180", "mousemove", "350", "260",
             "mouseup", "1"});
    EXPECT_EQ(exitCode(), 0);
    EXPECT_EQ(written(), m_window.pattern().copy(50, 20, 200, 160));
}

TEST_F(ScreenCaptureToolTest, HoverHighlightsAndClickTakesTheWindowUnderThePointer)
{
    xdotool({"mousemove", "700", "600"});
    start({"-x", "-t", "png", "-i", "-o", m_output});
    ASSERT_TRUE(waitForOverlay());
    xdotool({"mousemove", "300", "200"});
    EXPECT_TRUE(waitForHighlight());
    xdotool({"click", "1"});
    EXPECT_EQ(exitCode(), 0);
    EXPECT_EQ(written(), m_window.pattern());
}

TEST_F(ScreenCaptureToolTest, EscapeOrRightClickWritesNothing)
{
    start({"-x", "-t", "png", "-i", "-o", m_output});
    ASSERT_TRUE(waitForOverlay());
    xdotool({"key", "Escape"});
    EXPECT_EQ(exitCode(), 0);
    EXPECT_FALSE(QFile::exists(m_output));

    start({"-x", "-t", "png", "-i", "-s", m_output});
    ASSERT_TRUE(waitForOverlay());
    // A click without dragging chooses nothing in area-only mode.
    xdotool({"mousemove", "300", "200", "click", "1", "click", "3"});
    EXPECT_EQ(exitCode(), 0);
    EXPECT_FALSE(QFile::exists(m_output));
}

TEST_F(ScreenCaptureToolTest, FailuresExitWithAMessage)
{
    const QString unwritable = m_folder.filePath(QStringLiteral("missing/shot.png"));
    start({"-x", "-t", "png", "-m", unwritable});
    EXPECT_EQ(exitCode(), 1);
    EXPECT_TRUE(m_tool.readAllStandardError().contains("Could not write"));
    EXPECT_FALSE(QFile::exists(unwritable));

    start({"-x", "-t", "jpg", "-m", m_output});
    EXPECT_EQ(exitCode(), 2);
    start({"-x", "-t", "png", "-m"});
    EXPECT_EQ(exitCode(), 2);
    EXPECT_FALSE(QFile::exists(m_output));

    QProcess noDisplay;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    noDisplay.setProcessEnvironment(environment);
    noDisplay.start(qEnvironmentVariable("TAVIMO_SCREENCAPTURE"), {"-m", m_output});
    ASSERT_TRUE(noDisplay.waitForFinished(20000));
    EXPECT_EQ(noDisplay.exitCode(), 1);
    EXPECT_TRUE(noDisplay.readAllStandardError().contains("X display"));
}

TEST(X11Monitors, MainDisplayIsThePrimaryOrElseTheFirst)
{
    const std::unique_ptr<X11ScreenGrabber> screen = X11ScreenGrabber::connect();
    ASSERT_TRUE(screen);
    const QList<ScreenGrabber::Monitor> monitors = screen->monitors();
    ASSERT_EQ(monitors.size(), 1);
    EXPECT_EQ(monitors[0].geometry, QRect(0, 0, 1280, 800));
    EXPECT_NE(monitors[0].id, 0u);

    const ScreenGrabber::Monitor left{5, QRect(0, 0, 100, 100), false};
    const ScreenGrabber::Monitor middle{7, QRect(100, 0, 100, 100), true};
    const ScreenGrabber::Monitor right{9, QRect(200, 0, 100, 100), false};
    EXPECT_EQ(X11Monitors::main({left, middle, right}).id, 7u);
    EXPECT_EQ(X11Monitors::main({right, left}).id, 9u);
}

} // namespace
