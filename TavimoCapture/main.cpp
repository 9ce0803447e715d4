#include "BundleInfo.h"
#include "CaptureInstanceFailure.h"
#include "CaptureInstanceServer.h"
#include "CaptureLaunch.h"
#include "CaptureOutputCapture.h"
#include "CaptureService.h"

#include <QApplication>
#include <QImageReader>
#include <QMainWindow>

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tavimo Capture"));
    QCoreApplication::setApplicationVersion(BundleInfo::main().value(QStringLiteral("CFBundleShortVersionString")));
}

} // namespace

int main(int argc, char *argv[])
{
    // An 80-megapixel image needs more than Qt's default 128 MB.
    QImageReader::setAllocationLimit(1024);
    CaptureLaunch launch;
    {
        // Help, hand-offs and --output captures need no windows.
        QCoreApplication commandLine(argc, argv);
        nameApplication();
        if (const std::optional<int> status = launch.finishWithoutApp())
            return *status;
    }
    QApplication application(argc, argv);
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("local.tavimo.capture"));

    CaptureInstanceServer instance(launch.socketPath());
    try {
        if (instance.listen() == CaptureInstanceServer::Start::anotherInstanceRuns)
            return launch.handOver();
    } catch (const CaptureInstanceError &error) {
        return report(error.description(), CaptureExitStatus::failed);
    }
    CaptureService service;

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tavimo Capture"));
    window.resize(1320, 820);
    QObject::connect(&instance, &CaptureInstanceServer::requested, &window,
                     [&](const CaptureRequest &request, CaptureInstanceReply *reply) {
                         if (request.returnsImage)
                             return CaptureOutputCapture::answer(service, request, reply);
                         window.show();
                         window.raise();
                         window.activateWindow();
                     });
    window.show();
    return application.exec();
}
