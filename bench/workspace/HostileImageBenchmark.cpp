// Peak memory above the resident size before each hostile file is opened, and
// the notice the workspace shows for it (benchmark label).
#include "CaptureImageImport.h"
#include "CaptureImportFailure.h"
#include "ProcessUsage.h"
#include "TestFiles.h"
#include "TestImageFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>

using namespace TestImageFiles;

namespace {

QImage pattern(QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgba(x * 7 % 256, y * 13 % 256, (x ^ y) % 256, 200));
    return image;
}

QString noticeFor(const QString &path)
{
    try {
        CaptureImageImport::read(path);
        return QStringLiteral("(opened)");
    } catch (const CaptureImportError &error) {
        return error.description();
    }
}

void openHostile(benchmark::State &state, const std::function<QByteArray()> &make)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("hostile"));
    writeFile(path, make());
    double peakMegabytes = 0;
    QString notice;
    for (auto _ : state) {
        const qint64 before = ProcessUsage::statusKilobytes("VmRSS:");
        if (!ProcessUsage::resetPeakResidentSize()) {
            state.SkipWithError("the kernel does not reset the peak resident size");
            return;
        }
        notice = noticeFor(path);
        peakMegabytes = std::max(peakMegabytes, double(ProcessUsage::statusKilobytes("VmHWM:") - before) / 1024);
    }
    state.counters["peakMB"] = peakMegabytes;
    state.counters["fileKB"] = double(QFileInfo(path).size()) / 1024;
    state.SetLabel(notice.toStdString());
}

const QByteArray smallPng = encoded(pattern(QSize(64, 64)), "png");

} // namespace

BENCHMARK_CAPTURE(openHostile, png30000x30000, [] { return whitePng(QSize(30000, 30000)); })->Iterations(1);
BENCHMARK_CAPTURE(openHostile, jpegClaiming65000, [] { return jpegClaiming(QSize(65000, 65000)); })->Iterations(1);
BENCHMARK_CAPTURE(openHostile, jpegClaiming10000x8000, [] { return jpegClaiming(QSize(10000, 8000)); })->Iterations(1);
BENCHMARK_CAPTURE(openHostile, tiffClaiming100000, [] { return tiffClaiming(QSize(100000, 100000)); })->Iterations(1);
BENCHMARK_CAPTURE(openHostile, tiffClaiming10000x8000, [] { return tiffClaiming(QSize(10000, 8000)); })->Iterations(1);
BENCHMARK_CAPTURE(openHostile, tiff5000Pages, [] { return tiffClaiming(QSize(16, 16), 5000); })->Iterations(1);
BENCHMARK_CAPTURE(openHostile, pngHeaderLies8000x8000, [] {
    return pngClaiming(smallPng, QSize(8000, 8000));
})->Iterations(1);
BENCHMARK_CAPTURE(openHostile, truncatedPng, [] { return smallPng.left(smallPng.size() / 2); })->Iterations(1);
BENCHMARK_CAPTURE(openHostile, textNamedPng, [] { return QByteArray("These are notes, not pixels."); })->Iterations(1);
BENCHMARK_CAPTURE(openHostile, tiffDeflateClaims8000x8000, [] {
    return deflateTiffClaiming(QSize(8000, 8000));
})->Iterations(1);
BENCHMARK_CAPTURE(openHostile, arithmeticJpegWithoutScan10000x8000, [] {
    return jpegWithoutScanClaiming(arithmeticJpeg(QSize(16, 16)), QSize(10000, 8000));
})->Iterations(1);
BENCHMARK_CAPTURE(openHostile, pngZtxtOf8MB, [] {
    return pngWithChunks(smallPng, "zTXt", QByteArray("Note\0\0", 6) + zlibText(QByteArray(8 << 20, ' ')));
})->Iterations(1);
BENCHMARK_CAPTURE(openHostile, png101TextChunks, [] {
    return pngWithChunks(smallPng, "tEXt", QByteArray("Comment\0A note.", 15), 101);
})->Iterations(1);
BENCHMARK_CAPTURE(openHostile, arithmeticJpeg10000x8000, [] {
    return arithmeticJpeg(QSize(10000, 8000));
})->Iterations(1);
BENCHMARK_CAPTURE(openHostile, legitimate10000x8000, [] { return whitePng(QSize(10000, 8000)); })->Iterations(1);
