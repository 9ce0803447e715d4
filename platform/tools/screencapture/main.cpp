#include "AtomicFileWriter.h"
#include "CapturePngEncoder.h"
#include "DesktopWindows.h"
#include "ScreenCaptureOptions.h"
#include "SelectionOverlay.h"
#include "X11Monitors.h"
#include "X11ScreenGrabber.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include <cstdio>
#include <future>

// tavimo-screencapture: writes a PNG of an area, a window or the main display.
// Exit status 0 on success and when the user cancels (then no file is
// written), 1 when the capture fails, 2 for a bad command line.
namespace {

constexpr int failure = 1;
constexpr int usageError = 2;

int fail(const QString &message)
{
    std::fprintf(stderr, "tavimo-screencapture: %s\n", qPrintable(message));
    return failure;
}

int writePng(const QImage &image, const QString &path)
{
    QByteArray png;
    try {
        png = CapturePngEncoder::encode(image);
    } catch (const CapturePngEncodeFailure &error) {
        return fail(error.description());
    }
    const std::error_code error = AtomicFileWriter::write(path, png, AtomicFileWriter::Existing::replace,
                                                          AtomicFileWriter::Permissions::keepReplaced);
    if (error)
        return fail(QCoreApplication::translate("ScreenCaptureTool", "Could not write %1: %2")
                        .arg(path, QString::fromStdString(error.message())));
    return 0;
}

int captureMainDisplay(const X11ScreenGrabber &grabber, const QString &path)
{
    const QImage image = grabber.grabColours(X11Monitors::main(grabber.monitors()).geometry);
    if (image.isNull())
        return fail(QCoreApplication::translate("ScreenCaptureTool", "The screen could not be read."));
    return writePng(image, path);
}

// Overlay positions are screen pixels, whatever scaling the desktop asks for.
void useScreenPixels()
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
}

int selectArea(int argc, char **argv, const X11ScreenGrabber &grabber, const ScreenCaptureOptions &options)
{
    // The server copies the screen while the toolkit starts up.
    std::future<QImage> grabbing =
        std::async(std::launch::async, [&grabber] { return grabber.grabColours(grabber.desktopGeometry()); });
    const QList<QRect> windows =
        options.selectionOnly ? QList<QRect>() : DesktopWindows::query(grabber.connection(), grabber.root());
    useScreenPixels();
    QGuiApplication application(argc, argv);
    const QImage desktop = grabbing.get();
    if (desktop.isNull())
        return fail(QCoreApplication::translate("ScreenCaptureTool", "The screen could not be read."));
    OverlayScreens screens;
    for (const ScreenGrabber::Monitor &monitor : grabber.monitors())
        screens.append({monitor.geometry, 1.0});
    SelectionOverlay overlay(screens);
    overlay.prepare(desktop, windows);
    int status = 0;
    QObject::connect(&overlay, &SelectionOverlay::cancelled, &application, &QGuiApplication::quit);
    QObject::connect(&overlay, &SelectionOverlay::selected, &application, [&](const QRect &area) {
        overlay.hide();
        // Let the overlay vanish before the encoding starts.
        QTimer::singleShot(0, &application, [&, area] {
            status = writePng(desktop.copy(area), options.outputPath);
            application.quit();
        });
    });
    overlay.show();
    application.exec();
    return status;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QString error;
    const std::optional<ScreenCaptureOptions> options = ScreenCaptureOptions::parse(arguments, &error);
    if (!options) {
        fail(error + QLatin1Char('\n') + ScreenCaptureOptions::usage());
        return usageError;
    }
    const std::unique_ptr<X11ScreenGrabber> grabber = X11ScreenGrabber::connect();
    if (!grabber)
        return fail(QCoreApplication::translate("ScreenCaptureTool",
                                                "Cannot open the X display; the screenshot tool needs X11."));
    if (!options->interactive)
        return captureMainDisplay(*grabber, options->outputPath);
    return selectArea(argc, argv, *grabber, *options);
}
