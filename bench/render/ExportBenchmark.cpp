#include "BenchmarkImages.h"
#include "CaptureRenderer.h"
#include "ProcessUsage.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

CaptureAnnotation mark(CaptureTool tool, const QRectF &rect)
{
    CaptureAnnotation annotation;
    annotation.tool = tool;
    annotation.start = rect.topLeft();
    annotation.end = rect.bottomRight();
    return annotation;
}

// Twenty marks of every kind over the 5K capture.
QList<CaptureAnnotation> twentyMarks()
{
    QList<CaptureAnnotation> marks;
    CaptureAnnotation blur = mark(CaptureTool::blur, QRectF(400, 500, 600, 400));
    marks.append(blur);
    blur.start = QPointF(3200, 1700);
    blur.end = QPointF(3800, 2100);
    blur.style.blurRadius = 60;
    marks.append(blur);
    marks.append(mark(CaptureTool::imagePixelate, QRectF(300, 1500, 500, 300)));
    CaptureAnnotation lens = mark(CaptureTool::magnifier, QRectF(600, 1200, 200, 150));
    lens.destination = QRectF(1800, 300, 600, 450);
    marks.append(lens);
    CaptureAnnotation spotlight = mark(CaptureTool::rectangle, QRectF(2500, 400, 900, 600));
    spotlight.style.shapeMode = CaptureShapeMode::spotlight;
    marks.append(spotlight);
    CaptureAnnotation text = mark(CaptureTool::text, QRectF(300, 2400, 0, 0));
    text.text = QStringLiteral("Click Save to keep\nthis version");
    text.style.textBackgroundEnabled = true;
    marks.append(text);
    for (int index = 0; index < 5; ++index) {
        CaptureAnnotation number = mark(CaptureTool::number, QRectF(700 + 600 * index, 2600, 0, 0));
        number.number = index + 1;
        marks.append(number);
    }
    for (int index = 0; index < 4; ++index) {
        CaptureAnnotation arrow = mark(CaptureTool::arrow, QRectF(1000 + 700 * index, 1000, 300, 400));
        arrow.style.arrowCurved = index % 2 == 1;
        marks.append(arrow);
    }
    marks.append(mark(CaptureTool::oval, QRectF(4200, 300, 500, 300)));
    CaptureAnnotation highlighter = mark(CaptureTool::freehand, QRectF());
    highlighter.style.brush = CaptureBrush::highlighter;
    highlighter.style.lineWidth = 30;
    for (int x = 0; x < 40; ++x)
        highlighter.points.append(QPointF(800 + 40 * x, 2000 + (x % 2) * 30));
    marks.append(highlighter);
    marks.append(mark(CaptureTool::redact, QRectF(4200, 2200, 500, 80)));
    marks.append(mark(CaptureTool::pixelate, QRectF(4200, 2400, 500, 200)));
    return marks;
}

QList<CaptureLegendEntry> legendFor(const QList<CaptureAnnotation> &marks)
{
    QList<CaptureLegendEntry> legend;
    for (const CaptureAnnotation &annotation : marks) {
        if (annotation.tool == CaptureTool::number)
            legend.append({annotation.id, annotation.number, QStringLiteral("Open the menu and choose a step")});
    }
    return legend;
}

void renderExport(benchmark::State &state)
{
    const QImage &image = BenchmarkImages::capture5K();
    const QList<CaptureAnnotation> marks = twentyMarks();
    const QList<CaptureLegendEntry> legend = legendFor(marks);
    CaptureComposition composition;
    composition.background = CaptureBackground::gradient;
    composition.padding = 32;
    composition.shadow = 40;
    composition.cornerRadius = 24;
    composition.borderWidth = 2;

    double peakBytes = 0;
    QSize size;
    const double cpuBefore = ProcessUsage::cpuSeconds();
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const qint64 before = ProcessUsage::statusKilobytes("VmRSS:");
        const bool reset = ProcessUsage::resetPeakResidentSize();
        state.ResumeTiming();
        const QImage exported =
            CaptureRenderer::renderImage(image, image.size(), QRectF(image.rect()), marks, composition, legend);
        state.PauseTiming();
        if (reset)
            peakBytes = std::max(peakBytes, double(ProcessUsage::statusKilobytes("VmHWM:") - before) * 1024);
        size = exported.size();
        state.ResumeTiming();
    }
    const double bitmapBytes = double(image.sizeInBytes());
    state.counters["processCpuMs"] = (ProcessUsage::cpuSeconds() - cpuBefore) * 1000 / double(state.iterations());
    state.counters["peakMB"] = peakBytes / 1e6;
    state.counters["peakBitmaps"] = peakBytes / bitmapBytes;
    state.counters["width"] = size.width();
    state.counters["height"] = size.height();
}

} // namespace

BENCHMARK(renderExport)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
