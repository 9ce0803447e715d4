#include "CaptureApplication.h"

#include "AppTheme.h"
#include "AppearanceMenu.h"
#include "CaptureAppDelegate.h"
#include "DesktopGlobalHotKeys.h"
#include "TavimoSignals.h"
#include "UpdatePrompt.h"
#include "UserDefaults.h"

#include <QImageReader>

CaptureApplication::CaptureApplication(int &argc, char **argv)
    : m_application(argc, argv), m_hotKeys(desktopGlobalHotKeys())
{
    QApplication::setApplicationName(QStringLiteral("Tavimo Capture"));
    QApplication::setDesktopFileName(QStringLiteral("local.tavimo.capture"));
    // The app lives in the tray: closing its windows never quits.
    QApplication::setQuitOnLastWindowClosed(false);
    // An 80-megapixel image needs more than Qt's default 128 MB.
    QImageReader::setAllocationLimit(1024);

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
    QObject::connect(&m_application, &QCoreApplication::aboutToQuit, m_delegate.get(),
                     &CaptureAppDelegate::applicationWillTerminate);
}

CaptureApplication::~CaptureApplication() = default;

int CaptureApplication::run()
{
    m_delegate->applicationDidFinishLaunching();
    m_panels.setWindow(m_delegate->editor());
    return QApplication::exec();
}

bool CaptureApplication::readyForSelection()
{
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        return true;
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::none_of(windows.begin(), windows.end(), [](const QWidget *window) { return window->isVisible(); });
}
