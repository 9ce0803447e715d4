#pragma once

#include <QWidget>

class CaptureWorkspace;
class QPushButton;

// What the editor shows with no capture open: an invitation to take the first one.
class CaptureWelcomeView : public QWidget {
    Q_OBJECT

public:
    static inline const QString permissionHelp =
        QStringLiteral("Your desktop asks for permission each time Tavimo Capture takes a screenshot. Allow it "
                       "when asked, then try again.");

    // `onWayland` shows the explanation of the desktop's screenshot permission.
    CaptureWelcomeView(CaptureWorkspace &model, bool onWayland, QWidget *parent = nullptr);

private:
    CaptureWorkspace &m_model;
    QPushButton *m_capture;
};
