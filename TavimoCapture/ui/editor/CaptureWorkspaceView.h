#pragma once

#include <QPointer>
#include <QWidget>

class CaptureBoard;
class CaptureClipboard;
class CaptureNoticeBanner;
class CaptureSidebar;
class CaptureWorkspace;
class CaptureWorkspaceHeader;
class QLabel;
class QStackedWidget;
class UserDefaults;

// The content of the editor window: the sidebar, the header, the notice and
// hot-key warnings, and the main area showing the welcome, the editor of one
// image or the arrangement of the board. Reads the workspace and calls its
// operations; it holds no capture state of its own.
class CaptureWorkspaceView : public QWidget {
    Q_OBJECT

public:
    // `defaults` keeps the editor's view settings; `clipboard` receives copied text.
    CaptureWorkspaceView(CaptureWorkspace &model, UserDefaults &defaults, CaptureClipboard &clipboard,
                         QWidget *parent = nullptr);

    CaptureSidebar *sidebar() const { return m_sidebar; }
    CaptureWorkspaceHeader *header() const { return m_header; }

    // Where the desktop asks before each screenshot.
    static bool isWaylandSession();

protected:
    void changeEvent(QEvent *event) override;

private:
    QWidget *mainColumn();
    void colourWarnings();
    void showWarnings();
    void showMainArea();
    void showBoard();
    void showDocument();
    void dropBoardView();
    void replacePage(QWidget *&page, QWidget *replacement);

    CaptureWorkspace &m_model;
    UserDefaults &m_defaults;
    CaptureClipboard &m_clipboard;
    CaptureSidebar *m_sidebar;
    CaptureWorkspaceHeader *m_header;
    QLabel *m_warnings = nullptr;
    QStackedWidget *m_main = nullptr;
    QWidget *m_welcome = nullptr;
    QWidget *m_documentPage = nullptr;
    QWidget *m_boardPage = nullptr;
    QPointer<CaptureBoard> m_shownBoard;
};
