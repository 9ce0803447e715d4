// Listing the recent history: 20 entries among 1,000 foreign files (target:
// under 5 ms).

#include "CaptureHistory.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_HistoryItems(benchmark::State &state)
{
    QTemporaryDir folder;
    const CaptureHistory history(folder.filePath(QStringLiteral("History")));
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString exported = folder.filePath(QStringLiteral("export.png"));
    QFile(exported).open(QIODevice::WriteOnly);
    for (int entry = 0; entry < 20; ++entry)
        history.save(image, QString(), exported);
    for (int foreign = 0; foreign < 1000; ++foreign) {
        QFile file(history.directory() + QStringLiteral("/foreign-%1.png").arg(foreign));
        file.open(QIODevice::WriteOnly);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(history.items());
    state.counters["entries"] = double(history.items().size());
}

} // namespace

BENCHMARK(BM_HistoryItems)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
