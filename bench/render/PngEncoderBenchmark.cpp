#include "BenchmarkImages.h"
#include "CapturePngEncoder.h"
#include "ProcessUsage.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>

// Besides the generated 5K screen, both encoders run over real screenshots:
// every PNG in the folder $TAVIMO_BENCH_IMAGES, one benchmark per file and one
// over all of them ("all"). Tavimo's rows carry "bytesVsQt", its size over
// QImage::save's.
namespace {

using Encoder = std::function<QByteArray(const QImage &)>;

template <typename Encode> void measure(benchmark::State &state, Encode encode)
{
    qsizetype bytes = 0;
    const double cpuBefore = ProcessUsage::cpuSeconds();
    for (auto _ : state)
        bytes = encode();
    state.counters["bytes"] = double(bytes);
    state.counters["processCpuMs"] = (ProcessUsage::cpuSeconds() - cpuBefore) * 1000 / double(state.iterations());
}

// The image is made before the clock starts.
void encodeWithTavimo(benchmark::State &state)
{
    const QImage &image = BenchmarkImages::realistic5K();
    measure(state, [&] { return CapturePngEncoder::encode(image).size(); });
}

// What Qt-based screenshot tools do.
void encodeWithQImageSave(benchmark::State &state)
{
    const QImage &image = BenchmarkImages::realistic5K();
    measure(state, [&] { return BenchmarkImages::pngSavedByQt(image).size(); });
}

QString realScreensFolder()
{
    return qEnvironmentVariable("TAVIMO_BENCH_IMAGES");
}

QStringList realScreenFiles()
{
    const QString folder = realScreensFolder();
    if (folder.isEmpty())
        return {};
    QStringList files;
    for (const QString &name : QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name))
        files.append(QDir(folder).filePath(name));
    return files;
}

// Decoded once, in the format captures have.
const QImage &realScreen(const QString &file)
{
    static std::map<QString, QImage> images;
    auto found = images.find(file);
    if (found == images.end()) {
        QImageReader::setAllocationLimit(1024);
        found = images.emplace(file, QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied)).first;
    }
    return found->second;
}

qsizetype encodeAll(const QStringList &files, const Encoder &encode)
{
    qsizetype bytes = 0;
    for (const QString &file : files)
        bytes += encode(realScreen(file)).size();
    return bytes;
}

void encodeRealScreens(benchmark::State &state, const QStringList &files, const Encoder &encode, bool ours)
{
    for (const QString &file : files) {
        if (realScreen(file).isNull())
            return state.SkipWithError(("cannot read " + file).toStdString().c_str());
    }
    measure(state, [&] { return encodeAll(files, encode); });
    if (ours)
        state.counters["bytesVsQt"] = state.counters["bytes"] / double(encodeAll(files, BenchmarkImages::pngSavedByQt));
}

void registerRealScreens(const std::string &name, const QStringList &files)
{
    benchmark::RegisterBenchmark(("encodeRealWithTavimo/" + name).c_str(), encodeRealScreens, files,
                                 Encoder(CapturePngEncoder::encode), true)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("encodeRealWithQImageSave/" + name).c_str(), encodeRealScreens, files,
                                 Encoder(BenchmarkImages::pngSavedByQt), false)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

const bool realScreensRegistered = [] {
    const QStringList files = realScreenFiles();
    if (files.isEmpty()) {
        benchmark::RegisterBenchmark("encodeRealScreens", [](benchmark::State &state) {
            state.SkipWithError("skipped: set TAVIMO_BENCH_IMAGES to a folder of PNG screenshots");
        });
        return false;
    }
    for (const QString &file : files)
        registerRealScreens(QFileInfo(file).fileName().toStdString(), {file});
    registerRealScreens("all", files);
    return true;
}();

} // namespace

BENCHMARK(encodeWithTavimo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(encodeWithQImageSave)->Unit(benchmark::kMillisecond)->UseRealTime();
