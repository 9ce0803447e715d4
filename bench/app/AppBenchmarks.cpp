#include "X11ScreenGrabber.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

namespace {

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

// Dimming shows on a light desktop.
void paintRootWhite(const X11ScreenGrabber &screen)
{
    const quint32 white = 0xffffff;
    xcb_change_window_attributes(screen.connection(), screen.root(), XCB_CW_BACK_PIXEL, &white);
    xcb_clear_area(screen.connection(), 0, screen.root(), 0, 0, 0, 0);
    xcb_flush(screen.connection());
}

// Polls gently until the probe shows `wanted` (or stops showing it); false after 10 s.
bool waitForProbe(const X11ScreenGrabber &screen, const QRect &probe, const QImage &pixel, bool equal)
{
    QElapsedTimer clock;
    clock.start();
    while ((screen.grab(probe) == pixel) != equal) {
        if (clock.elapsed() > 10000)
            return false;
        QThread::msleep(1);
    }
    return true;
}

// The app running with its own settings folder, ready for hot keys once its editor shows.
class RunningApp {
public:
    RunningApp()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral(".config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral(".local/share")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(TAVIMO_CAPTURE_PATH), {});
    }
    ~RunningApp()
    {
        m_process.terminate();
        m_process.waitForFinished();
    }

    bool waitUntilReady()
    {
        for (int attempt = 0; attempt < 200; ++attempt) {
            if (xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                         QStringLiteral("^Tavimo Capture$")}))
                return true;
            QThread::msleep(50);
        }
        return false;
    }

private:
    QTemporaryDir m_home;
    QProcess m_process;
};

// From pressing Ctrl+Shift+2 to the dimmed selection overlay on the screen,
// through the app's hot key, its window hiding and the wait for released keys.
void hotKeyToOverlay(benchmark::State &state)
{
    const std::unique_ptr<X11ScreenGrabber> screen = X11ScreenGrabber::connect();
    if (!screen)
        return state.SkipWithError("needs an X display");
    const QRect desktop = screen->desktopGeometry();
    paintRootWhite(*screen);
    RunningApp app;
    if (!app.waitUntilReady())
        return state.SkipWithError("the app did not start");
    const QRect probe(desktop.width() / 4, desktop.height() / 4, 1, 1);
    const QImage before = screen->grab(probe);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+2")});
        const bool appeared = waitForProbe(*screen, probe, before, false);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!appeared)
            return state.SkipWithError("no overlay");
        xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        waitForProbe(*screen, probe, before, true);
        // The cancelled run brings the editor back before the next press.
        QThread::msleep(300);
    }
    state.counters["width"] = desktop.width();
    state.counters["height"] = desktop.height();
}

} // namespace

BENCHMARK(hotKeyToOverlay)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);
