#include "BenchmarkImages.h"
#include "CapturePngEncoder.h"
#include "ProcessUsage.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

namespace {

template <typename Encode> void measure(benchmark::State &state, Encode encode)
{
    qsizetype bytes = 0;
    const double cpuBefore = ProcessUsage::cpuSeconds();
    for (auto _ : state)
        bytes = encode().size();
    state.counters["bytes"] = double(bytes);
    state.counters["processCpuMs"] = (ProcessUsage::cpuSeconds() - cpuBefore) * 1000 / double(state.iterations());
}

void encodeWithTavimo(benchmark::State &state)
{
    measure(state, [] { return CapturePngEncoder::encode(BenchmarkImages::realistic5K()); });
}

// What Qt-based screenshot tools do.
void encodeWithQImageSave(benchmark::State &state)
{
    measure(state, [] {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        BenchmarkImages::realistic5K().save(&buffer, "PNG");
        return png;
    });
}

} // namespace

BENCHMARK(encodeWithTavimo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(encodeWithQImageSave)->Unit(benchmark::kMillisecond)->UseRealTime();
