#include "TestX11Client.h"
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
    void SetUp() override { ASSERT_TRUE(m_folder.isValid() && m_screen); }

    // Starts the tool with the pointer away from the shown window; for a selection, waits for the overlay.
    void start(const QStringList &arguments)
    {
        ASSERT_TRUE(TestX11Client::xdotool({"mousemove", "700", "600"}));
        ASSERT_TRUE(m_window.showOn(*m_screen));
        m_tool.start(qEnvironmentVariable("TAVIMO_SCREENCAPTURE"), arguments);
        ASSERT_TRUE(m_tool.waitForStarted());
        ASSERT_TRUE(!arguments.contains(QStringLiteral("-i")) || waitForProbe(false)) << "no overlay";
    }

    int exitCode()
    {
        EXPECT_TRUE(m_tool.waitForFinished(20000));
        EXPECT_EQ(m_tool.exitStatus(), QProcess::NormalExit);
        return m_tool.exitCode();
    }

    // The overlay dims the pattern; a highlighted window shows undimmed.
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

    // What the tool wrote, removed so that the next run starts afresh.
    QImage takeWritten() const
    {
        const QImage image = QImage(m_output).convertToFormat(QImage::Format_RGB32);
        QFile::remove(m_output);
        return image;
    }

    QTemporaryDir m_folder;
    const QString m_output = m_folder.filePath(QStringLiteral("shot.png"));
    std::unique_ptr<X11ScreenGrabber> m_screen = X11ScreenGrabber::connect();
    X11PatternWindow m_window{windowArea};
    QProcess m_tool;
};

TEST_F(ScreenCaptureToolTest, MainDisplayIsWhatTheScreenShowsAndFailuresExitWithAMessage)
{
    start({"-x", "-t", "png", "-m", m_output});
    EXPECT_EQ(exitCode(), 0);
    const QImage image = takeWritten();
    ASSERT_EQ(image.size(), QSize(1280, 800));
    EXPECT_EQ(image.copy(windowArea), m_window.pattern());
    const QString unwritable = m_folder.filePath(QStringLiteral("missing/shot.png"));
    start({"-x", "-t", "png", "-m", unwritable});
    EXPECT_EQ(exitCode(), 1);
    EXPECT_TRUE(m_tool.readAllStandardError().contains("Could not write"));
    EXPECT_FALSE(QFile::exists(unwritable));
    start({"-x", "-t", "jpg", "-m", m_output});
    EXPECT_EQ(exitCode(), 2);
    EXPECT_FALSE(QFile::exists(m_output));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    m_tool.setProcessEnvironment(environment);
    start({"-m", m_output});
    EXPECT_EQ(exitCode(), 1);
    EXPECT_TRUE(m_tool.readAllStandardError().contains("X display"));
}

TEST_F(ScreenCaptureToolTest, SelectionTakesTheDraggedAreaOrTheClickedWindowAndEscapeNothing)
{
    start({"-x", "-t", "png", "-i", "-s", m_output});
    EXPECT_TRUE(TestX11Client::xdotool({"mousemove", "150", "100", "mousedown", "1", "mousemove", "250", "180",
                                        "mousemove", "350", "260", "mouseup", "1"}));
    EXPECT_EQ(exitCode(), 0);
    EXPECT_EQ(takeWritten(), m_window.pattern().copy(50, 20, 200, 160));
    start({"-x", "-t", "png", "-i", "-o", m_output});
    EXPECT_TRUE(TestX11Client::xdotool({"mousemove", "300", "200"}));
    EXPECT_TRUE(waitForProbe(true)) << "no highlight";
    EXPECT_TRUE(TestX11Client::xdotool({"click", "1"}));
    EXPECT_EQ(exitCode(), 0);
    EXPECT_EQ(takeWritten(), m_window.pattern());
    start({"-x", "-t", "png", "-i", "-o", m_output});
    EXPECT_TRUE(TestX11Client::xdotool({"key", "Escape"}));
    EXPECT_EQ(exitCode(), 0);
    EXPECT_FALSE(QFile::exists(m_output));
    // A click without dragging chooses nothing in area-only mode; a right click ends it.
    start({"-x", "-t", "png", "-i", "-s", m_output});
    EXPECT_TRUE(TestX11Client::xdotool({"mousemove", "300", "200", "click", "1", "click", "3"}));
    EXPECT_EQ(exitCode(), 0);
    EXPECT_FALSE(QFile::exists(m_output));
}

} // namespace
