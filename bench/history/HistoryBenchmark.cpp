// Listing the recent history: 20 entries among 1,000 foreign files (target:
// under 5 ms). Thumbnails of a 5K entry: shrunk while decoding, against Qt's
// scaled read (which decodes the whole image first).

#include "CaptureHistory.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
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

// A history holding one 5120 x 2880 entry with screen-like content.
const CaptureHistoryItem &entry5K()
{
    static QTemporaryDir folder;
    static const CaptureHistoryItem item = [] {
        QImage image(5120, 2880, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = (x / 40 + y / 24) % 7 == 0 ? qRgb(x % 256, y % 256, 90) : qRgb(245, 245, 245);
        }
        const CaptureHistory history(folder.path());
        history.save(image);
        return history.items().first();
    }();
    return item;
}

void BM_Thumbnail5K(benchmark::State &state)
{
    const CaptureHistoryItem &entry = entry5K();
    for (auto _ : state)
        benchmark::DoNotOptimize(entry.thumbnail());
}

void BM_QtScaledThumbnail5K(benchmark::State &state)
{
    const QString path = entry5K().path();
    for (auto _ : state) {
        QImageReader reader(path, "png");
        reader.setScaledSize(QSize(360, 203));
        benchmark::DoNotOptimize(reader.read());
    }
}

} // namespace

BENCHMARK(BM_HistoryItems)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Thumbnail5K)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtScaledThumbnail5K)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
