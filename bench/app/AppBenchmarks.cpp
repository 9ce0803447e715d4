#include "X11ScreenGrabber.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
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

// A private home, so that nothing of the user's is read or written.
QProcessEnvironment privateEnvironment(const QTemporaryDir &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral(".local/share")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}

// The resident size of process `pid` in MB; -1 when unreadable.
double residentMegabytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return -1;
}

// The app running with its own settings folder, ready for hot keys once its editor shows.
class RunningApp {
public:
    explicit RunningApp(const QString &tool = {})
    {
        QProcessEnvironment environment = privateEnvironment(m_home);
        if (!tool.isEmpty())
            environment.insert(QStringLiteral("TAVIMO_SCREENCAPTURE"), tool);
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

    qint64 pid() const { return m_process.processId(); }

private:
    QTemporaryDir m_home;
    QProcess m_process;
};

// Presses `keys` (or runs `command`) and times until the probe changes; then Escape.
template <typename Press> void timeOverlay(benchmark::State &state, const X11ScreenGrabber &screen, Press press)
{
    const QRect desktop = screen.desktopGeometry();
    const QRect probe(desktop.width() / 4, desktop.height() / 4, 1, 1);
    const QImage before = screen.grab(probe);
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        press();
        const bool appeared = waitForProbe(screen, probe, before, false);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        if (!appeared)
            return state.SkipWithError("no overlay");
        xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        waitForProbe(screen, probe, before, true);
        // A cancelled run brings the editor back before the next press.
        QThread::msleep(300);
    }
    state.counters["width"] = desktop.width();
    state.counters["height"] = desktop.height();
}

// From pressing Ctrl+Shift+2 to the dimmed selection overlay on the screen,
// through the app's hot key, its window hiding and the wait for released keys.
void hotKeyToOverlay(benchmark::State &state)
{
    const std::unique_ptr<X11ScreenGrabber> screen = X11ScreenGrabber::connect();
    if (!screen)
        return state.SkipWithError("needs an X display");
    paintRootWhite(*screen);
    RunningApp app;
    if (!app.waitUntilReady())
        return state.SkipWithError("the app did not start");
    timeOverlay(state, *screen, [] { xdotool({QStringLiteral("key"), QStringLiteral("ctrl+shift+2")}); });
}

// The peer for comparison: `flameshot gui` with its daemon already running,
// as a desktop shortcut bound to it would start it. Needs a session bus
// (run the benchmarks under dbus-run-session).
void flameshotGuiToOverlay(benchmark::State &state)
{
    const std::unique_ptr<X11ScreenGrabber> screen = X11ScreenGrabber::connect();
    if (!screen)
        return state.SkipWithError("needs an X display");
    if (QStandardPaths::findExecutable(QStringLiteral("flameshot")).isEmpty())
        return state.SkipWithError("flameshot is not installed");
    paintRootWhite(*screen);
    QTemporaryDir home;
    QProcess daemon;
    daemon.setProcessEnvironment(privateEnvironment(home));
    daemon.start(QStringLiteral("flameshot"), {});
    QThread::msleep(2000);
    timeOverlay(state, *screen, [&] {
        // The client waits for the capture to end; it must outlive this call.
        QProcess gui;
        gui.setProgram(QStringLiteral("flameshot"));
        gui.setArguments({QStringLiteral("gui")});
        gui.setProcessEnvironment(privateEnvironment(home));
        gui.startDetached();
    });
    daemon.terminate();
    daemon.waitForFinished();
}

// The idle app's resident memory, without the warm grab (a tool named in
// $TAVIMO_SCREENCAPTURE takes the captures) and with it.
void idleResidentMemory(benchmark::State &state)
{
    const std::unique_ptr<X11ScreenGrabber> screen = X11ScreenGrabber::connect();
    if (!screen)
        return state.SkipWithError("needs an X display");
    const auto residentAfterStart = [](const QString &tool) {
        RunningApp app(tool);
        if (!app.waitUntilReady())
            return -1.0;
        QThread::msleep(3000);
        return residentMegabytes(app.pid());
    };
    double cold = 0;
    double warm = 0;
    for (auto _ : state) {
        cold = residentAfterStart(QStringLiteral(TAVIMO_SCREENCAPTURE_PATH));
        warm = residentAfterStart(QString());
    }
    state.counters["coldMB"] = cold;
    state.counters["warmMB"] = warm;
}

} // namespace

BENCHMARK(hotKeyToOverlay)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);
BENCHMARK(flameshotGuiToOverlay)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);
BENCHMARK(idleResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
