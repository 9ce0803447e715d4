#include "CaptureApplication.h"

#include "AppTheme.h"
#include "AppearanceMenu.h"
#include "BundleInfo.h"
#include "CaptureInstanceFailure.h"
#include "CaptureOutputCapture.h"
#include "CaptureWorkspaceView.h"
#include "TavimoSignals.h"
#include "UserDefaults.h"

#include <QImageReader>

namespace {

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Tavimo Capture"));
    QCoreApplication::setApplicationVersion(BundleInfo::main().value(QStringLiteral("CFBundleShortVersionString")));
}

} // namespace

CaptureApplication::CaptureApplication(int &argc, char **argv)
{
    // An 80-megapixel image needs more than Qt's default 128 MB.
    QImageReader::setAllocationLimit(1024);
    {
        // Help, hand-offs and --output captures need no windows.
        QCoreApplication commandLine(argc, argv);
        nameApplication();
        m_finished = m_launch.finishWithoutApp();
    }
    if (!m_finished)
        start(argc, argv);
}

void CaptureApplication::start(int &argc, char **argv)
{
    m_application = std::make_unique<QApplication>(argc, argv);
    m_translations.install();
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("local.tavimo.capture"));

    m_instance = std::make_unique<CaptureInstanceServer>(m_launch.socketPath());
    try {
        if (m_instance->listen() == CaptureInstanceServer::Start::anotherInstanceRuns) {
            m_finished = m_launch.handOver();
            return;
        }
    } catch (const CaptureInstanceError &error) {
        m_finished = report(error.description(), CaptureExitStatus::failed);
        return;
    }
    m_service = std::make_unique<CaptureService>();
    openEditor();
    QObject::connect(m_instance.get(), &CaptureInstanceServer::requested, m_window.get(),
                     [this](const CaptureRequest &request, CaptureInstanceReply *reply) {
                         if (request.returnsImage)
                             return CaptureOutputCapture::answer(*m_service, request, reply);
                         showWindow();
                     });
}

void CaptureApplication::openEditor()
{
    UserDefaults &defaults = UserDefaults::standard();
    AppTheme::apply(defaults.stringValue(AppearanceMenu::key).value_or(QStringLiteral("system")));
    m_panels = std::make_unique<CaptureDialogPanels>();
    m_clipboard = std::make_unique<CaptureSystemClipboard>();
    m_workspace = std::make_unique<CaptureWorkspace>(defaults, *m_panels, *m_clipboard,
                                                     [](TavimoEvent event) { TavimoSignals::shared().track(event); });

    m_window = std::make_unique<QMainWindow>();
    m_window->setWindowTitle(QStringLiteral("Tavimo Capture"));
    m_window->resize(1320, 820);
    m_window->setMinimumSize(1000, 650);
    m_panels->setWindow(m_window.get());
    m_workspace->setShow([this] { showWindow(); });
    m_window->setCentralWidget(new CaptureWorkspaceView(*m_workspace, defaults, *m_clipboard));
}

void CaptureApplication::showWindow()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

int CaptureApplication::run()
{
    if (m_finished)
        return *m_finished;
    m_window->show();
    return QApplication::exec();
}
