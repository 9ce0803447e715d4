#pragma once

#include <QWidget>

class CaptureRecentList;
class CaptureWorkspace;
class QCheckBox;
class QLabel;
class QPushButton;
class QVBoxLayout;

// The editor's left column: the capture commands, opening a file, the recent
// exports and the history switch, and the footer with the settings.
class CaptureSidebar : public QWidget {
    Q_OBJECT

public:
    static constexpr const char *emptyHistoryText = QT_TR_NOOP("Images you copy, save or pin appear here.");

    explicit CaptureSidebar(CaptureWorkspace &model, QWidget *parent = nullptr);

    // Places the appearance picker in the footer, above "Local by design".
    void setAppearancePicker(QWidget *picker);

private:
    void addCaptureRows(QVBoxLayout *layout);
    QWidget *recentHeader();
    QWidget *footer();
    void updateFromModel();

    CaptureWorkspace &m_model;
    QList<QPushButton *> m_captureRows;
    CaptureRecentList *m_recent = nullptr;
    QLabel *m_empty = nullptr;
    QCheckBox *m_keepHistory = nullptr;
    QVBoxLayout *m_footer = nullptr;
};
