#pragma once

#include <QWidget>

class CaptureWorkspace;
class QAction;
class QLabel;
class QToolButton;

// The top of the editor: what is open, the switch between editing one image
// and arranging the board, adding captures, and the export commands.
class CaptureWorkspaceHeader : public QWidget {
    Q_OBJECT

public:
    explicit CaptureWorkspaceHeader(CaptureWorkspace &model, QWidget *parent = nullptr);

    // The export commands with their keys (Ctrl+Shift+C, Ctrl+S,
    // Ctrl+Shift+S); the window's menus can share them.
    QAction *copyAction() const { return m_copy; }
    QAction *saveAction() const { return m_save; }
    QAction *saveAsAction() const { return m_saveAs; }

private:
    QWidget *modeSwitch();
    QToolButton *addCaptureButton();
    QWidget *exportButtons();
    void updateFromModel();

    CaptureWorkspace &m_model;
    QLabel *m_title;
    QLabel *m_subtitle;
    QToolButton *m_editMode = nullptr;
    QToolButton *m_arrangeMode = nullptr;
    QToolButton *m_addCapture = nullptr;
    QList<QAction *> m_captureEntries;
    QAction *m_copy;
    QAction *m_save;
    QAction *m_saveAs;
};
