// A 5K capture from the tool's PNG to the clipboard, the automatic save and
// the recent history, as the capture flow runs it: decode, finish through the
// board, encode once, hand the same bytes to all three. Against it the literal
// path, which encodes with QImage::save for each of the three. Targets: plain
// at most 120 ms, framed (padding 40, shadow 20, corners 16) at most 350 ms,
// one encoding each, at least 6x quicker than the literal path.
//
// Also: rendering the plain capture (at most 5 ms, it is shared, not drawn)
// and the PNG encoder against QImage::save on the realistic screen (files at
// most 5 % larger, at least 5x quicker; both ratios from the same iterations).

#include "BenchmarkImages.h"
#include "CaptureAutoSave.h"
#include "CaptureBoard.h"
#include "CaptureDocument.h"
#include "CaptureHistory.h"
#include "CapturePngEncoder.h"
#include "CaptureRenderer.h"
#include "CaptureSystemClipboard.h"

#include <QBuffer>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using Encoder = QByteArray (*)(const QImage &);

QByteArray encodeWithQImageSave(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// What the tool writes for the realistic screen.
const QByteArray &toolPng()
{
    static const QByteArray png = CapturePngEncoder::encode(BenchmarkImages::realistic5K());
    return png;
}

// As the capture service reads the tool's file.
QImage decoded(const QByteArray &png)
{
    QImage image = QImage::fromData(png, "PNG");
    image.convertTo(QImage::Format_ARGB32_Premultiplied);
    return image;
}

CaptureComposition framed()
{
    CaptureComposition composition;
    composition.padding = 40;
    composition.shadow = 20;
    composition.cornerRadius = 16;
    return composition;
}

struct Pipeline {
    QTemporaryDir folder;
    CaptureHistory history{folder.filePath(QStringLiteral("History"))};
    CaptureSystemClipboard clipboard;
    int encodings = 0;

    QByteArray encode(Encoder encoder, const QImage &image)
    {
        ++encodings;
        return encoder(image);
    }

    // Returns the automatic save's path.
    QString run(const CaptureComposition &composition, Encoder encoder, bool encodeEachUse)
    {
        auto document = std::make_shared<CaptureDocument>(decoded(toolPng()));
        document->setComposition(composition);
        CaptureBoard board(document);
        const QImage finished = board.flattenedImage();
        const QByteArray png = encode(encoder, finished);
        clipboard.setPng(png);
        const QString saved = CaptureAutoSave::save(encodeEachUse ? encode(encoder, finished) : png, folder.path(),
                                                    QStringLiteral("Area"), QDateTime::currentDateTime());
        history.savePng(encodeEachUse ? encode(encoder, finished) : png, QString(), saved);
        return saved;
    }
};

void capturePipeline(benchmark::State &state, const CaptureComposition &composition, Encoder encoder,
                     bool encodeEachUse)
{
    toolPng();
    Pipeline pipeline;
    for (auto _ : state) {
        const QString saved = pipeline.run(composition, encoder, encodeEachUse);
        state.PauseTiming();
        QFile::remove(saved);
        state.ResumeTiming();
    }
    state.counters["encodings"] = double(pipeline.encodings) / double(state.iterations());
}

void pipelinePlain(benchmark::State &state)
{
    capturePipeline(state, CaptureComposition(), CapturePngEncoder::encode, false);
}

void pipelineFramed(benchmark::State &state)
{
    capturePipeline(state, framed(), CapturePngEncoder::encode, false);
}

void pipelinePlainLiteral(benchmark::State &state)
{
    capturePipeline(state, CaptureComposition(), encodeWithQImageSave, true);
}

void pipelineFramedLiteral(benchmark::State &state)
{
    capturePipeline(state, framed(), encodeWithQImageSave, true);
}

// The parts of the pipeline: reading the tool's PNG, and handing encoded bytes on.
void decodeToolPng(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(decoded(toolPng()));
}

void deliverPng(benchmark::State &state)
{
    Pipeline pipeline;
    for (auto _ : state) {
        pipeline.clipboard.setPng(toolPng());
        const QString saved = CaptureAutoSave::save(toolPng(), pipeline.folder.path(), QStringLiteral("Area"),
                                                    QDateTime::currentDateTime());
        pipeline.history.savePng(toolPng(), QString(), saved);
        state.PauseTiming();
        QFile::remove(saved);
        state.ResumeTiming();
    }
}

void renderPlainCapture(benchmark::State &state)
{
    const QImage &image = BenchmarkImages::realistic5K();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            CaptureRenderer::renderImage(image, image.size(), QRectF(image.rect()), {}, CaptureComposition(), {}));
}

// Manual time is ours; the counters compare with QImage::save in the same iterations.
void pngAgainstQImageSave(benchmark::State &state)
{
    const QImage &image = BenchmarkImages::realistic5K();
    double oursSeconds = 0;
    double qtSeconds = 0;
    qsizetype oursBytes = 0;
    qsizetype qtBytes = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        oursBytes = CapturePngEncoder::encode(image).size();
        const double ours = double(clock.nsecsElapsed()) / 1e9;
        clock.restart();
        qtBytes = encodeWithQImageSave(image).size();
        qtSeconds += double(clock.nsecsElapsed()) / 1e9;
        oursSeconds += ours;
        state.SetIterationTime(ours);
    }
    state.counters["bytes"] = double(oursBytes);
    state.counters["qtBytes"] = double(qtBytes);
    state.counters["sizeRatio"] = double(oursBytes) / double(qtBytes);
    state.counters["speedRatio"] = qtSeconds / oursSeconds;
}

} // namespace

BENCHMARK(pipelinePlain)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(pipelineFramed)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(pipelinePlainLiteral)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(pipelineFramedLiteral)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(decodeToolPng)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(deliverPng)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(renderPlainCapture)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(pngAgainstQImageSave)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
