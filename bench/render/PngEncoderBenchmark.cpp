#include "BenchmarkImages.h"
#include "CapturePngEncoder.h"

#include <QBuffer>

#include <benchmark/benchmark.h>

namespace {

void encodeWithTavimo(benchmark::State &state)
{
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray png = CapturePngEncoder::encode(BenchmarkImages::capture5K());
        bytes = png.size();
    }
    state.counters["bytes"] = double(bytes);
}

void encodeWithQImageSave(benchmark::State &state)
{
    qsizetype bytes = 0;
    for (auto _ : state) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        BenchmarkImages::capture5K().save(&buffer, "PNG");
        bytes = png.size();
    }
    state.counters["bytes"] = double(bytes);
}

} // namespace

BENCHMARK(encodeWithTavimo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(encodeWithQImageSave)->Unit(benchmark::kMillisecond)->UseRealTime();
