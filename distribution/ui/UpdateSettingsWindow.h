#pragma once

#include <QObject>

#include <memory>

class AppUpdates;
class QWidget;

// The "Update Settings" window, made on first request and kept when closed.
class UpdateSettingsWindow : public QObject {
    Q_OBJECT

public:
    // Shows the window whenever `updates` asks for its preferences.
    explicit UpdateSettingsWindow(AppUpdates &updates, QObject *parent = nullptr);
    ~UpdateSettingsWindow() override;

    // Creates the window on first use, then brings it forward and activates it.
    void show();
    QWidget *window() const { return m_window.get(); }

private:
    AppUpdates &m_updates;
    std::unique_ptr<QWidget> m_window;
};
