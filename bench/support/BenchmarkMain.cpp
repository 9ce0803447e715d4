#include <QGuiApplication>
#include <QImageReader>

#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    // Painting needs no screen; benchmarks that drive X11 run with a DISPLAY.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    // As in the app: 80-megapixel images need more than the default.
    QImageReader::setAllocationLimit(1024);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
