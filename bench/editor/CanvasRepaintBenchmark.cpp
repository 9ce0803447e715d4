// The editor canvas over a 5K capture with 20 marks, offscreen, 1320 x 820:
// the first paint after opening; each repaint while a selected rectangle is
// dragged across the image by 100 mouse moves; the first frame after each of
// 21 drops; each frame while a new rectangle is drawn across the image (from
// the press to the release). Targets: first paint at most 150 ms, drag p95 at
// most 8 ms, drop and new mark p95 at most 16 ms. Cached frames are checked
// against frames drawn from scratch at the end of each gesture.
#include "BenchmarkImages.h"
#include "CaptureCanvasView.h"
#include "CaptureDocument.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

void add(CaptureDocument &document, CaptureTool tool, QRectF rect)
{
    document.setTool(tool);
    document.finishGesture(rect.topLeft(), rect.bottomRight());
}

std::unique_ptr<CaptureDocument> makeDocument()
{
    auto document = std::make_unique<CaptureDocument>(BenchmarkImages::capture5K());
    CaptureDocument &d = *document;
    add(d, CaptureTool::blur, QRectF(200, 200, 900, 500));
    add(d, CaptureTool::blur, QRectF(3600, 1800, 700, 400));
    add(d, CaptureTool::imagePixelate, QRectF(2600, 300, 600, 400));
    add(d, CaptureTool::redact, QRectF(400, 2200, 800, 120));
    add(d, CaptureTool::arrow, QRectF(1500, 1500, 600, 300));
    add(d, CaptureTool::arrow, QRectF(4000, 400, -500, 500));
    add(d, CaptureTool::oval, QRectF(2200, 1200, 500, 300));
    add(d, CaptureTool::rectangle, QRectF(4300, 2300, 400, 300));
    add(d, CaptureTool::rectangle, QRectF(300, 1200, 500, 400));
    add(d, CaptureTool::oval, QRectF(4400, 1200, 300, 300));
    d.setText(QStringLiteral("Check this value"));
    add(d, CaptureTool::text, QRectF(1800, 600, 0, 0));
    d.setText(QStringLiteral("Second note\non two lines"));
    add(d, CaptureTool::text, QRectF(3000, 2400, 0, 0));
    for (int marker = 0; marker < 5; ++marker)
        add(d, CaptureTool::number, QRectF(600 + 800 * marker, 1000, 0, 0));
    d.setTool(CaptureTool::freehand);
    QList<QPointF> stroke;
    for (int i = 0; i < 400; ++i)
        stroke.append(QPointF(1000 + 4 * i, 2600 + 60 * std::sin(i / 20.0)));
    d.finishStroke(stroke);
    d.setTool(CaptureTool::magnifier);
    d.beginMagnifier(QPointF(2400, 1900), QPointF(2700, 2100));
    d.finishMagnifier(QPointF(2900, 1700), QPointF(3500, 2100));
    // The dragged mark: a rectangle, selected.
    add(d, CaptureTool::rectangle, QRectF(1000, 800, 400, 300));
    d.setLegendEnabled(true);
    int number = 1;
    for (const CaptureLegendEntry &entry : d.legendEntries())
        d.setLegendText(entry.id, QStringLiteral("Step %1: what happens here").arg(number++));
    d.setTool(CaptureTool::select);
    return document;
}

void sendMouse(QWidget &widget, QEvent::Type type, QPointF view)
{
    QMouseEvent event(type, view, widget.mapToGlobal(view), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5));
    return values[index];
}

QImage shot(CaptureCanvasView &canvas)
{
    QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    canvas.render(&image);
    return image;
}

double timedShot(CaptureCanvasView &canvas)
{
    QElapsedTimer timer;
    timer.start();
    shot(canvas);
    return timer.nsecsElapsed() / 1e6;
}

// Whether the frame the canvas shows equals one drawn from scratch.
bool showsUncachedFrame(CaptureCanvasView &canvas)
{
    if (!canvas.caching())
        return true;
    const QImage cached = shot(canvas);
    canvas.setCaching(false);
    const QImage uncached = shot(canvas);
    canvas.setCaching(true);
    return cached == uncached;
}

void run(bool caching)
{
    std::unique_ptr<CaptureDocument> document = makeDocument();
    if (document->annotations().size() != 20)
        std::printf("warning: %lld marks\n", static_cast<long long>(document->annotations().size()));
    QElapsedTimer timer;
    timer.start();
    CaptureCanvasView canvas(document.get());
    canvas.setCaching(caching);
    canvas.resize(1320, 820);
    shot(canvas);
    const double first = timer.nsecsElapsed() / 1e6;
    int mismatches = 0;

    const CaptureAnnotation dragged = document->annotations().last();
    sendMouse(canvas, QEvent::MouseButtonPress, canvas.viewPoint(dragged.rect().center()));
    shot(canvas);
    std::vector<double> frames;
    for (int step = 1; step <= 100; ++step) {
        sendMouse(canvas, QEvent::MouseMove, canvas.viewPoint(QPointF(1200 + 30 * step, 950 + 12 * step)));
        frames.push_back(timedShot(canvas));
    }
    mismatches += !showsUncachedFrame(canvas);
    sendMouse(canvas, QEvent::MouseButtonRelease, canvas.viewPoint(QPointF(4200, 2150)));
    std::vector<double> drops{timedShot(canvas)};

    // Twenty shorter drags back and forth across the image, each dropped.
    for (int drag = 0; drag < 20; ++drag) {
        const QPointF from = document->annotations().last().rect().center();
        const QPointF to = drag % 2 ? QPointF(4200, 2150) : QPointF(1400 + 100 * drag, 900 + 40 * drag);
        sendMouse(canvas, QEvent::MouseButtonPress, canvas.viewPoint(from));
        shot(canvas);
        for (int step = 1; step <= 5; ++step) {
            sendMouse(canvas, QEvent::MouseMove, canvas.viewPoint(from + (to - from) * step / 5));
            frames.push_back(timedShot(canvas));
        }
        sendMouse(canvas, QEvent::MouseButtonRelease, canvas.viewPoint(to));
        drops.push_back(timedShot(canvas));
    }
    mismatches += !showsUncachedFrame(canvas);

    // A new rectangle drawn across the image, from the press to the release.
    document->setTool(CaptureTool::rectangle);
    std::vector<double> drawing;
    sendMouse(canvas, QEvent::MouseButtonPress, canvas.viewPoint(QPointF(600, 400)));
    drawing.push_back(timedShot(canvas));
    for (int step = 1; step <= 100; ++step) {
        sendMouse(canvas, QEvent::MouseMove, canvas.viewPoint(QPointF(600 + 40 * step, 400 + 22 * step)));
        drawing.push_back(timedShot(canvas));
    }
    mismatches += !showsUncachedFrame(canvas);
    sendMouse(canvas, QEvent::MouseButtonRelease, canvas.viewPoint(QPointF(4600, 2600)));
    drawing.push_back(timedShot(canvas));
    mismatches += !showsUncachedFrame(canvas);

    std::printf("%-9s first paint %7.1f ms | drag p50 %6.2f ms  p95 %6.2f ms  max %6.2f ms | drop p95 %6.2f ms"
                "  max %6.2f ms | new mark p95 %6.2f ms  max %6.2f ms | %s\n",
                caching ? "cached" : "uncached", first, percentile(frames, 0.5), percentile(frames, 0.95),
                *std::max_element(frames.begin(), frames.end()), percentile(drops, 0.95),
                *std::max_element(drops.begin(), drops.end()), percentile(drawing, 0.95),
                *std::max_element(drawing.begin(), drawing.end()),
                mismatches ? "FRAMES DIFFER from uncached" : "frames identical to uncached");
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    BenchmarkImages::capture5K();
    run(false);
    run(true);
    run(true);
    return 0;
}
