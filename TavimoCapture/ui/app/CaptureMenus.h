#pragma once

#include "CaptureMode.h"

#include <QKeySequence>
#include <QList>
#include <QObject>

#include <functional>
#include <map>
#include <memory>

class AppUpdates;
class CaptureAppDelegate;
class QAction;
class QMenu;
class QMenuBar;
class TavimoSignals;

// The app's commands in the editor window's menu bar and the tray menu, with
// their titles, keys and enabled states.
class CaptureMenus : public QObject {
    Q_OBJECT

public:
    CaptureMenus(CaptureAppDelegate &delegate, AppUpdates &updates, TavimoSignals &tavimoSignals);
    ~CaptureMenus() override;

    // File, Edit, View and Help.
    void fillMenuBar(QMenuBar &bar);
    QMenu *trayMenu() const { return m_trayMenu.get(); }

    // "Capture area or window    Ctrl+Shift+2"; no suffix without a hot key.
    static QString trayTitle(CaptureMode mode);

    // Enables each command as the open capture and the focus allow.
    void validate();

    QAction *captureAction(CaptureMode mode) const { return m_captures.at(mode); }
    QAction *trayCaptureAction(CaptureMode mode) const { return m_trayCaptures.at(mode); }
    QAction *undoAction() const { return m_undo; }
    QAction *saveAction() const { return m_save; }
    QAction *saveAsAction() const { return m_saveAs; }
    QAction *copyImageAction() const { return m_copyImage; }
    QAction *closeCaptureAction() const { return m_closeCapture; }
    // In the tray menu while a delayed capture waits.
    QAction *cancelDelayAction() const { return m_cancelDelay; }

private:
    QAction *command(const QString &title, const QKeySequence &keys, std::function<void()> run);
    QAction *textCommand(const QString &title, QKeySequence::StandardKey key, const char *slot);
    void makeTrayMenu(AppUpdates &updates, TavimoSignals &tavimoSignals);
    void watch(QMenu *menu);

    CaptureAppDelegate &m_delegate;
    AppUpdates &m_updates;
    TavimoSignals &m_signals;
    std::map<CaptureMode, QAction *> m_captures;
    std::map<CaptureMode, QAction *> m_trayCaptures;
    QAction *m_openImage;
    QAction *m_save;
    QAction *m_saveAs;
    QAction *m_closeCapture;
    QAction *m_closeWindow;
    QAction *m_hide;
    QAction *m_quit;
    QAction *m_undo;
    QAction *m_copyImage;
    QAction *m_settings;
    QAction *m_openCapture;
    QAction *m_about;
    QAction *m_cancelDelay;
    QList<QAction *> m_textCommands;
    std::unique_ptr<QMenu> m_trayMenu;
};
