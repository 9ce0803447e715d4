#pragma once

#include "DesktopPermissionSettings.h"

#include <QWidget>

#include <optional>

class CaptureWorkspace;
class QPushButton;
class QVBoxLayout;

// What the editor shows with no capture open: an invitation to take the first one.
class CaptureWelcomeView : public QWidget {
    Q_OBJECT

public:
    // `permissionSettings` opens the desktop's page for screenshot permissions;
    // without one there is no button for it.
    CaptureWelcomeView(CaptureWorkspace &model,
                       std::optional<DesktopPermissionSettings::Command> permissionSettings = std::nullopt,
                       QWidget *parent = nullptr);
    static QString permissionButtonTitle();
    static QString settingsUnavailableNotice();

private:
    void addPermissionButton(QVBoxLayout *layout, const DesktopPermissionSettings::Command &settings);

    CaptureWorkspace &m_model;
    QPushButton *m_capture;
};
