#include "BenchmarkImages.h"
#include "CapturePngEncoder.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

// CPU seconds of every thread of the process so far.
double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &time) {
        return double(time.tv_sec) + double(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

template <typename Encode> void measure(benchmark::State &state, Encode encode)
{
    qsizetype bytes = 0;
    const double cpuBefore = processCpuSeconds();
    for (auto _ : state)
        bytes = encode().size();
    state.counters["bytes"] = double(bytes);
    state.counters["processCpuMs"] = (processCpuSeconds() - cpuBefore) * 1000 / double(state.iterations());
}

void encodeWithTavimo(benchmark::State &state)
{
    measure(state, [] { return CapturePngEncoder::encode(BenchmarkImages::capture5K()); });
}

// What Qt-based screenshot tools do.
void encodeWithQImageSave(benchmark::State &state)
{
    measure(state, [] {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        BenchmarkImages::capture5K().save(&buffer, "PNG");
        return png;
    });
}

} // namespace

BENCHMARK(encodeWithTavimo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(encodeWithQImageSave)->Unit(benchmark::kMillisecond)->UseRealTime();
