#include "BenchmarkImages.h"
#include "CaptureImageEffects.h"
#include "CaptureRenderer.h"

#include <QPainter>

#include <opencv2/imgproc.hpp>

#include <benchmark/benchmark.h>

namespace {

// Blurs one region of the 5K capture; arguments: radius, region width, region height.
void blurRegion(benchmark::State &state)
{
    const QImage &image = BenchmarkImages::capture5K();
    const QRect target(2000, 1200, int(state.range(1)), int(state.range(2)));
    for (auto _ : state)
        benchmark::DoNotOptimize(CaptureImageEffects::blur(image, target, double(state.range(0))));
}

// The straightforward way: the whole image filtered for one effect.
void blurWholeImage(benchmark::State &state)
{
    const QImage &image = BenchmarkImages::capture5K();
    QImage result(image.size(), QImage::Format_ARGB32_Premultiplied);
    const cv::Mat input(image.height(), image.width(), CV_8UC4, const_cast<uchar *>(image.constBits()),
                        size_t(image.bytesPerLine()));
    cv::Mat output(result.height(), result.width(), CV_8UC4, result.bits(), size_t(result.bytesPerLine()));
    const double sigma = double(state.range(0));
    for (auto _ : state)
        cv::GaussianBlur(input, output, cv::Size(0, 0), sigma, sigma, cv::BORDER_REPLICATE);
}

// A blur mark drawn by the annotation pass over the 5K capture, base image included.
void blurMarkInPass(benchmark::State &state)
{
    const QImage &image = BenchmarkImages::capture5K();
    CaptureAnnotation blur;
    blur.tool = CaptureTool::blur;
    blur.start = QPointF(2000, 1200);
    blur.end = QPointF(2600, 1600);
    blur.style.blurRadius = double(state.range(0));
    QImage canvas(image.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&canvas);
        CaptureRenderer::draw(painter, image, image.size(), {blur});
    }
}

} // namespace

BENCHMARK(blurRegion)
    ->Args({16, 600, 400})
    ->Args({80, 600, 400})
    ->Args({16, 300, 200})
    ->Args({16, 1200, 800})
    ->Args({80, 1200, 800})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(blurMarkInPass)->Arg(16)->Arg(80)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(blurWholeImage)->Arg(16)->Arg(80)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
