#pragma once

#include "CaptureDialogPanels.h"
#include "CaptureInstanceServer.h"
#include "CaptureLaunch.h"
#include "CaptureSystemClipboard.h"
#include "CaptureTranslations.h"
#include "GlobalHotKeys.h"

#include <QApplication>

#include <memory>
#include <optional>

class CaptureAppDelegate;
class CaptureService;

// The running app: reads the command line, hands it to a running instance or
// answers it without windows, else becomes the instance and starts the
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
    // A --output capture when no app runs, in an application of its own.
    int captureWithoutApp(int &argc, char **argv);
    void start(int &argc, char **argv);
    void makeDelegate();
    void handle(const CaptureRequest &request, CaptureInstanceReply *reply);
    void answerCaller(const CaptureRequest &request, CaptureInstanceReply *reply);

    CaptureLaunch m_launch;
    std::optional<int> m_finished;
    std::unique_ptr<QApplication> m_application;
    CaptureTranslations m_translations;
    std::unique_ptr<CaptureInstanceServer> m_instance;
    std::unique_ptr<CaptureService> m_outputService;
    std::unique_ptr<GlobalHotKeys> m_hotKeys;
    CaptureSystemClipboard m_clipboard;
    CaptureDialogPanels m_panels;
    std::unique_ptr<CaptureAppDelegate> m_delegate;
};
