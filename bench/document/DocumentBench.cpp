// Editing on every mouse event and exporting a large board.
//   QT_QPA_PLATFORM=offscreen build/bench/document/capture_document_bench

#include "CaptureBoard.h"
#include "CaptureDocument.h"

#include <QGuiApplication>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

namespace {

constexpr int markCount = 1000;
constexpr CaptureTool mixedTools[] = {
    CaptureTool::arrow,  CaptureTool::rectangle, CaptureTool::oval,     CaptureTool::text,          CaptureTool::number,
    CaptureTool::redact, CaptureTool::blur,      CaptureTool::pixelate, CaptureTool::imagePixelate, CaptureTool::arrow};

QImage filledImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(40, 120, 200));
    return image;
}

QPointF randomPoint(QRandomGenerator &random, QSize size)
{
    return QPointF(random.bounded(size.width()), random.bounded(size.height()));
}

// A 5K capture with 1000 marks of every kind spread over it.
std::unique_ptr<CaptureDocument> busyDocument()
{
    auto document = std::make_unique<CaptureDocument>(filledImage(5120, 2880));
    QRandomGenerator random(7);
    for (int index = 0; index < markCount; ++index) {
        document->setTool(mixedTools[index % std::size(mixedTools)]);
        const QPointF start = randomPoint(random, document->originalPixelSize());
        document->finishGesture(start, start + QPointF(random.bounded(300) + 10, random.bounded(200) + 10));
    }
    QList<QPointF> stroke;
    for (int sample = 0; sample < 200; ++sample)
        stroke.append(QPointF(1000 + sample * 3, 1000 + (sample % 20) * 4));
    document->setTool(CaptureTool::freehand);
    document->finishStroke(stroke);
    return document;
}

void hitTest(benchmark::State &state)
{
    const auto document = busyDocument();
    QRandomGenerator random(11);
    for (auto _ : state)
        benchmark::DoNotOptimize(document->hitTest(randomPoint(random, document->originalPixelSize())));
}

// Each gesture records an undo step; the document is brought back to 1000
// marks between batches, outside the timing.
void finishGesture(benchmark::State &state, CaptureTool tool)
{
    const auto document = busyDocument();
    const qsizetype startCount = document->annotations().size();
    document->setTool(tool);
    QRandomGenerator random(13);
    for (auto _ : state) {
        const QPointF start = randomPoint(random, document->originalPixelSize());
        document->finishGesture(start, start + QPointF(120, 80));
        if (document->annotations().size() >= startCount + 100) {
            state.PauseTiming();
            while (document->annotations().size() > startCount)
                document->undo();
            state.ResumeTiming();
        }
    }
}

// What each undo step costs: 1000 moves of one mark among 1000.
void historyMemory(benchmark::State &state)
{
    for (auto _ : state) {
        const auto document = busyDocument();
        const size_t before = mallinfo2().uordblks;
        CaptureAnnotation moved = document->annotations().at(markCount / 2);
        for (int step = 0; step < 1000; ++step) {
            moved.end += QPointF(1, 0);
            document->replaceGeometry(moved);
        }
        state.counters["bytesPerStep"] = double(mallinfo2().uordblks - before) / 1000;
    }
}

long peakResidentKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long residentKilobytes()
{
    long pages = 0;
    long resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void boardFlattenedImage(benchmark::State &state)
{
    auto first = std::make_shared<CaptureDocument>(filledImage(2880, 1800));
    CaptureComposition composition;
    composition.padding = 40;
    composition.shadow = 20;
    composition.background = CaptureBackground::solid;
    first->setComposition(composition);
    CaptureBoard board(first);
    board.addImages({filledImage(2880, 1800), filledImage(2880, 1800), filledImage(2880, 1800)});
    board.applyLayout(CaptureBoardLayout::grid);
    const long residentBefore = residentKilobytes();
    QSize size;
    for (auto _ : state)
        size = board.flattenedImage().size();
    state.counters["width"] = size.width();
    state.counters["height"] = size.height();
    state.counters["peakExtraMB"] = double(peakResidentKilobytes() - residentBefore) / 1024;
}

} // namespace

BENCHMARK(hitTest);
BENCHMARK_CAPTURE(finishGesture, rectangle, CaptureTool::rectangle);
BENCHMARK_CAPTURE(finishGesture, select, CaptureTool::select);
BENCHMARK(historyMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(boardFlattenedImage)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
