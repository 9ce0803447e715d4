#pragma once

#include "CaptureTranslations.h"

#include <QApplication>
#include <QMainWindow>

// The running app: the Qt application and its windows, made in launch order.
class CaptureApplication {
public:
    CaptureApplication(int &argc, char **argv);

    // Runs the event loop until the app quits; returns the exit status.
    int run();

private:
    QApplication m_application;
    CaptureTranslations m_translations;
    QMainWindow m_window;
};
