#pragma once

#include "CaptureDialogPanels.h"
#include "CaptureInstanceServer.h"
#include "CaptureLaunch.h"
#include "CaptureService.h"
#include "CaptureSystemClipboard.h"
#include "CaptureTranslations.h"
#include "CaptureWorkspace.h"

#include <QApplication>
#include <QMainWindow>

#include <memory>
#include <optional>

// The running app: reads the command line, hands it to a running instance or
// answers it without windows, else becomes the instance and opens its windows.
class CaptureApplication {
public:
    CaptureApplication(int &argc, char **argv);

    // Runs the event loop until the app quits; returns the exit status.
    int run();

private:
    void start(int &argc, char **argv);
    void openEditor();
    void showWindow();

    CaptureLaunch m_launch;
    std::optional<int> m_finished;
    std::unique_ptr<QApplication> m_application;
    CaptureTranslations m_translations;
    std::unique_ptr<CaptureInstanceServer> m_instance;
    std::unique_ptr<CaptureService> m_service;
    std::unique_ptr<CaptureDialogPanels> m_panels;
    std::unique_ptr<CaptureSystemClipboard> m_clipboard;
    std::unique_ptr<CaptureWorkspace> m_workspace;
    std::unique_ptr<QMainWindow> m_window;
};
