// Text recognition of a 1920 x 1080 screenshot-like page with 40 lines of
// 15-pixel text: CaptureOCR against the tesseract command line, both with
// Tesseract's OpenMP threads limited to one; and CaptureOCR on a 5K capture.

#include "CaptureHistory.h"
#include "CaptureOCR.h"
#include "ScreenshotTextImage.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

// CPU time of the finished child processes so far, in milliseconds.
double childCpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto milliseconds = [](const timeval &time) {
        return double(time.tv_sec) * 1e3 + double(time.tv_usec) / 1e3;
    };
    return milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
}

const ScreenshotTextImage &page()
{
    static const ScreenshotTextImage page(QSize(1920, 1080), 40, 15);
    return page;
}

void BM_CaptureOCR(benchmark::State &state)
{
    QString text;
    const double cpuBefore = childCpuMilliseconds();
    for (auto _ : state)
        text = CaptureOCR::recognize(page().image());
    state.counters["helper_cpu_ms"] = (childCpuMilliseconds() - cpuBefore) / double(state.iterations());
    state.counters["word_accuracy"] = page().wordAccuracy(text);
    state.counters["words"] = double(page().bodyWords().size());
}

// A 5K capture of a HiDPI screen: 90 lines of 28-pixel text.
void BM_CaptureOCR5K(benchmark::State &state)
{
    static const ScreenshotTextImage page5K(QSize(5120, 2880), 90, 28);
    QString text;
    const double cpuBefore = childCpuMilliseconds();
    for (auto _ : state)
        text = CaptureOCR::recognize(page5K.image());
    state.counters["helper_cpu_ms"] = (childCpuMilliseconds() - cpuBefore) / double(state.iterations());
    state.counters["word_accuracy"] = page5K.wordAccuracy(text);
    state.counters["words"] = double(page5K.bodyWords().size());
}

void BM_TesseractCommandLine(benchmark::State &state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.png"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(CaptureHistory::png(page().image())) < 0) {
        state.SkipWithError("cannot write the page");
        return;
    }
    file.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OMP_THREAD_LIMIT"), QStringLiteral("1"));
    // Argument 0: the plain command line; otherwise the resolution it is told.
    QStringList arguments{path, QStringLiteral("stdout")};
    if (state.range(0) > 0)
        arguments += {QStringLiteral("--dpi"), QString::number(state.range(0))};
    QString text;
    const double cpuBefore = childCpuMilliseconds();
    for (auto _ : state) {
        QProcess tesseract;
        tesseract.setProcessEnvironment(environment);
        tesseract.setStandardErrorFile(QProcess::nullDevice());
        tesseract.start(QStringLiteral("tesseract"), arguments);
        tesseract.waitForFinished(-1);
        text = QString::fromUtf8(tesseract.readAllStandardOutput());
    }
    state.counters["helper_cpu_ms"] = (childCpuMilliseconds() - cpuBefore) / double(state.iterations());
    state.counters["word_accuracy"] = page().wordAccuracy(text);
}

} // namespace

BENCHMARK(BM_CaptureOCR)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CaptureOCR5K)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TesseractCommandLine)->Arg(0)->Arg(96)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("TAVIMO_OCR"))
        qputenv("TAVIMO_OCR", TAVIMO_OCR_HELPER);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
