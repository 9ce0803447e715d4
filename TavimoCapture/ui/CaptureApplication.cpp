#include "CaptureApplication.h"

#include "AppTheme.h"
#include "AppearanceMenu.h"
#include "BundleInfo.h"
#include "CaptureAppDelegate.h"
#include "CaptureInstanceFailure.h"
#include "CaptureInstanceReply.h"
#include "CaptureService.h"
#include "DesktopGlobalHotKeys.h"
#include "TavimoSignals.h"
#include "UpdatePrompt.h"
#include "UserDefaults.h"

#include <QImageReader>
#include <QPointer>

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
        // Help and hand-offs need no windows.
        QCoreApplication commandLine(argc, argv);
        nameApplication();
        m_finished = m_launch.finishWithoutApp();
    }
    if (!m_finished && m_launch.capturesHere())
        m_finished = captureWithoutApp(argc, argv);
    if (!m_finished)
        start(argc, argv);
}

int CaptureApplication::captureWithoutApp(int &argc, char **argv)
{
    const std::unique_ptr<QCoreApplication> application = CaptureLaunch::captureNeedsScreens()
                                                              ? std::make_unique<QGuiApplication>(argc, argv)
                                                              : std::make_unique<QCoreApplication>(argc, argv);
    nameApplication();
    return m_launch.captureHere();
}

CaptureApplication::~CaptureApplication() = default;

void CaptureApplication::start(int &argc, char **argv)
{
    m_application = std::make_unique<QApplication>(argc, argv);
    m_translations.install();
    nameApplication();
    QApplication::setDesktopFileName(QStringLiteral("local.tavimo.capture"));
    // The app lives in the tray: closing its windows never quits.
    QApplication::setQuitOnLastWindowClosed(false);

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
    m_outputService = std::make_unique<CaptureService>();
    makeDelegate();
    QObject::connect(m_instance.get(), &CaptureInstanceServer::requested, m_delegate.get(),
                     [this](const CaptureRequest &request, CaptureInstanceReply *reply) { handle(request, reply); });
}

void CaptureApplication::makeDelegate()
{
    m_hotKeys = desktopGlobalHotKeys();
    UserDefaults &defaults = UserDefaults::standard();
    AppTheme::apply(defaults.stringValue(AppearanceMenu::key).value_or(QStringLiteral("system")));
    CaptureSession::Environment session = CaptureSession::systemEnvironment();
    session.applicationActive = readyForSelection;
    m_delegate = std::make_unique<CaptureAppDelegate>(CaptureAppDelegate::Platform{
        .defaults = defaults,
        .tavimoSignals = TavimoSignals::shared(),
        .bundle = BundleInfo::main(),
        .updaterEnvironment = UpdatePrompt::standardEnvironment(),
        .panels = m_panels,
        .clipboard = m_clipboard,
        .hotKeys = *m_hotKeys,
        .session = session,
    });
    QObject::connect(m_application.get(), &QCoreApplication::aboutToQuit, m_delegate.get(),
                     &CaptureAppDelegate::applicationWillTerminate);
}

void CaptureApplication::handle(const CaptureRequest &request, CaptureInstanceReply *reply)
{
    if (request.returnsImage)
        return answerCaller(request, reply);
    switch (request.action) {
    case CaptureRequest::Action::capture:
        return m_delegate->startAfter(request.delaySeconds,
                                      [this, mode = request.mode] { m_delegate->startCapture(false, mode); });
    case CaptureRequest::Action::showEditor:
        return m_delegate->applicationShouldHandleReopen();
    case CaptureRequest::Action::open:
        m_delegate->showEditor();
        return m_delegate->model().openImageFile(request.path);
    }
}

// The caller may hang up while it waits: its reply then goes, and so does the wait.
void CaptureApplication::answerCaller(const CaptureRequest &request, CaptureInstanceReply *reply)
{
    const QPointer caller(reply);
    m_delegate->startAfter(
        request.delaySeconds,
        [this, mode = request.mode, caller] {
            if (!caller)
                return;
            m_delegate->captureForCaller(*m_outputService, mode)
                .then(caller.data(), [caller](const CaptureOutcome &outcome) {
                    if (caller)
                        caller->send(outcome);
                });
        },
        [caller] {
            if (caller)
                caller->send(CaptureOutcome{CaptureOutcome::Kind::cancelled, {}, {}});
        },
        reply);
}

int CaptureApplication::run()
{
    if (m_finished)
        return *m_finished;
    m_delegate->applicationDidFinishLaunching();
    m_panels.setWindow(m_delegate->editor());
    if (const std::optional<CaptureRequest> request = m_launch.request(); request && !request->returnsImage)
        handle(*request, nullptr);
    return QApplication::exec();
}

bool CaptureApplication::readyForSelection()
{
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        return true;
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::none_of(windows.begin(), windows.end(), [](const QWidget *window) { return window->isVisible(); });
}
