#pragma once

#include <QWidget>

class AppUpdates;
class QCheckBox;
class QLabel;
class QPushButton;

// The content of "Update Settings": the automatic check and download
// switches, the check command, the status line and the pending-work command,
// followed by the usage statistics settings.
class AppDistributionSettings : public QWidget {
    Q_OBJECT

public:
    explicit AppDistributionSettings(AppUpdates &updates, QWidget *parent = nullptr);

    QCheckBox *automaticChecksToggle() const { return m_automaticChecks; }
    QCheckBox *automaticDownloadsToggle() const { return m_automaticDownloads; }
    QPushButton *checkButton() const { return m_check; }
    QPushButton *pendingWorkButton() const { return m_pendingWork; }
    QLabel *statusLabel() const { return m_status; }

private:
    QWidget *makeUpdatesSection();
    void refresh();

    AppUpdates &m_updates;
    QCheckBox *m_automaticChecks;
    QCheckBox *m_automaticDownloads;
    QPushButton *m_check;
    QLabel *m_status;
    QPushButton *m_pendingWork;
};
