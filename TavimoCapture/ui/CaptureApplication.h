#pragma once

#include "CaptureDialogPanels.h"
#include "CaptureSystemClipboard.h"
#include "GlobalHotKeys.h"

#include <QApplication>

#include <memory>

class CaptureAppDelegate;

// The running app: the Qt application, the desktop's services and the
// delegate that owns everything else.
class CaptureApplication {
public:
    CaptureApplication(int &argc, char **argv);
    ~CaptureApplication();

    // Runs the event loop until the app quits; returns the exit status.
    int run();

    // Whether a screenshot may start: the app is in front, or none of its
    // windows is on screen (the screenshot tool then takes the keyboard itself).
    static bool readyForSelection();

private:
    QApplication m_application;
    std::unique_ptr<GlobalHotKeys> m_hotKeys;
    CaptureSystemClipboard m_clipboard;
    CaptureDialogPanels m_panels;
    std::unique_ptr<CaptureAppDelegate> m_delegate;
};
