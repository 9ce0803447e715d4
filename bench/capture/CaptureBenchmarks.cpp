#include "CaptureService.h"
#include "X11ScreenGrabber.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

namespace {

QString toolPath()
{
    const QString path = qEnvironmentVariable("TAVIMO_SCREENCAPTURE");
    return path.isEmpty() ? QStringLiteral(TAVIMO_SCREENCAPTURE_PATH) : path;
}

// Dimming shows on a light desktop.
void paintRootWhite(const X11ScreenGrabber &screen)
{
    const quint32 white = 0xffffff;
    xcb_change_window_attributes(screen.connection(), screen.root(), XCB_CW_BACK_PIXEL, &white);
    xcb_clear_area(screen.connection(), 0, screen.root(), 0, 0, 0, 0);
    xcb_flush(screen.connection());
}

// From launching the tool to its dimmed overlay being on the screen.
void overlayAppears(benchmark::State &state)
{
    const std::unique_ptr<X11ScreenGrabber> screen = X11ScreenGrabber::connect();
    if (!screen)
        return state.SkipWithError("needs an X display");
    const QRect desktop = screen->desktopGeometry();
    paintRootWhite(*screen);
    const QRect probe(desktop.width() / 4, desktop.height() / 4, 1, 1);
    QTemporaryDir folder;
    for (auto _ : state) {
        const QImage before = screen->grab(probe);
        QElapsedTimer clock;
        clock.start();
        QProcess tool;
        tool.start(toolPath(), {"-x", "-t", "png", "-i", "-s", folder.filePath(QStringLiteral("shot.png"))});
        // Polls gently: the tool and the X server need the processors.
        while (screen->grab(probe) == before && clock.elapsed() < 5000)
            QThread::msleep(1);
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        tool.terminate();
        tool.waitForFinished();
    }
    state.counters["width"] = desktop.width();
    state.counters["height"] = desktop.height();
}

// From launching the tool with -m to its PNG of the main display being written.
void mainDisplayToFile(benchmark::State &state)
{
    if (!X11ScreenGrabber::connect())
        return state.SkipWithError("needs an X display");
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("shot.png"));
    for (auto _ : state) {
        QProcess tool;
        tool.start(toolPath(), {"-x", "-t", "png", "-m", path});
        tool.waitForFinished();
        if (tool.exitCode() != 0 || !QFile::exists(path))
            return state.SkipWithError("the tool wrote no file");
    }
    state.counters["bytes"] = double(QFileInfo(path).size());
}

void grabDesktop(benchmark::State &state)
{
    const std::unique_ptr<X11ScreenGrabber> screen = X11ScreenGrabber::connect();
    if (!screen)
        return state.SkipWithError("needs an X display");
    for (auto _ : state)
        benchmark::DoNotOptimize(screen->grab(screen->desktopGeometry()));
}

void captureAllDisplays(benchmark::State &state)
{
    CaptureService service;
    for (auto _ : state) {
        QFutureWatcher<QList<CaptureDisplayImage>> watcher;
        QEventLoop loop;
        QObject::connect(&watcher, &QFutureWatcher<QList<CaptureDisplayImage>>::finished, &loop, &QEventLoop::quit);
        watcher.setFuture(service.captureAllDisplays());
        loop.exec();
        benchmark::DoNotOptimize(watcher.result());
    }
}

} // namespace

BENCHMARK(overlayAppears)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(mainDisplayToFile)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(grabDesktop)->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(captureAllDisplays)->Iterations(10)->Unit(benchmark::kMillisecond);
