#include "AppTheme.h"
#include "AppearanceMenu.h"
#include "CaptureDialogPanels.h"
#include "CaptureSystemClipboard.h"
#include "CaptureWorkspace.h"
#include "CaptureWorkspaceView.h"
#include "TavimoSignals.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QImageReader>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavimo Capture"));
    QApplication::setDesktopFileName(QStringLiteral("local.tavimo.capture"));
    // An 80-megapixel image needs more than Qt's default 128 MB.
    QImageReader::setAllocationLimit(1024);

    UserDefaults &defaults = UserDefaults::standard();
    AppTheme::apply(defaults.stringValue(AppearanceMenu::key).value_or(QStringLiteral("system")));
    CaptureDialogPanels panels;
    CaptureSystemClipboard clipboard;
    CaptureWorkspace workspace(defaults, panels, clipboard,
                               [](TavimoEvent event) { TavimoSignals::shared().track(event); });

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tavimo Capture"));
    window.resize(1320, 820);
    window.setMinimumSize(1000, 650);
    panels.setWindow(&window);
    workspace.setShow([&window] {
        window.show();
        window.raise();
        window.activateWindow();
    });
    window.setCentralWidget(new CaptureWorkspaceView(workspace, defaults, clipboard));
    window.show();
    return application.exec();
}
