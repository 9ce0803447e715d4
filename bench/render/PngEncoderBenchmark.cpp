#include "BenchmarkImages.h"
#include "CapturePngEncoder.h"

#include <QBuffer>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

const QImage &capture()
{
    static const QImage image = BenchmarkImages::screenshot(5120, 2880);
    return image;
}

void encodeWithTavimo(benchmark::State &state)
{
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray png = CapturePngEncoder::encode(capture());
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
        capture().save(&buffer, "PNG");
        bytes = png.size();
    }
    state.counters["bytes"] = double(bytes);
}

} // namespace

BENCHMARK(encodeWithTavimo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(encodeWithQImageSave)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
