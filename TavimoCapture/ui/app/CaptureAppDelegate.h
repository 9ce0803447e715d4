#pragma once

#include "AppUpdates.h"
#include "BundleInfo.h"
#include "CaptureAutostart.h"
#include "CaptureCountdown.h"
#include "CaptureHistory.h"
#include "CaptureMode.h"
#include "CaptureOutcome.h"
#include "CapturePreferences.h"
#include "CaptureService.h"
#include "CaptureSession.h"
#include "CaptureSessionHost.h"
#include "CaptureSettingsView.h"
#include "CaptureShortcuts.h"
#include "CaptureThumbnail.h"
#include "CaptureWorkspace.h"
#include "DockPresence.h"
#include "UpdaterEnvironment.h"
#include "X11ActiveWindow.h"

#include <QFuture>
#include <QList>
#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

class CaptureClipboard;
class CaptureMenus;
class CapturePanels;
class CapturePinWindow;
class CaptureThumbnailWindow;
class CaptureToastWindow;
class GlobalHotKeys;
class TavimoSignals;
class UserDefaults;

// The running app: owns every long-lived object, wires the windows, menus,
// hot keys and the tray icon to the workspace, and runs captures. Closing
// every window never quits; the app lives in the tray.
class CaptureAppDelegate : public QObject, private CaptureSessionHost {
    Q_OBJECT

public:
    // What the app takes from the desktop; tests pass their own.
    struct Platform {
        UserDefaults &defaults;
        TavimoSignals &tavimoSignals;
        BundleInfo bundle;
        UpdaterEnvironment updaterEnvironment;
        CapturePanels &panels;
        CaptureClipboard &clipboard;
        GlobalHotKeys &hotKeys;
        CaptureHistory history = CaptureHistory();
        // Captures the way the session calls for unless replaced.
        std::function<std::unique_ptr<CaptureService>()> makeService = [] {
            return std::make_unique<CaptureService>();
        };
        CaptureSession::Environment session = CaptureSession::systemEnvironment();
        CaptureSettingsView::FolderChooser chooseFolder = CaptureSettingsView::systemFolderChooser();
        CaptureAutostart autostart{CaptureAutostart::defaultFolder(), CaptureAutostart::defaultProgram()};
    };

    static inline const QString editorFrameKey = QStringLiteral("TavimoCaptureEditor");
    static constexpr QSize editorSize{1320, 820};
    static constexpr QSize editorMinimumSize{1000, 650};

    explicit CaptureAppDelegate(Platform platform, QObject *parent = nullptr);
    ~CaptureAppDelegate() override;

    // Menus, the editor, the tray icon, the hot keys; then shows the editor.
    void applicationDidFinishLaunching();
    // Another start of the app, or a click on the tray icon.
    void applicationShouldHandleReopen();
    // Ends a running screenshot, releases the hot keys, removes the thumbnail.
    void applicationWillTerminate();

    void startCapture(bool appending, CaptureMode mode);
    // Runs `start` after `seconds`, counting down in the tray icon's tooltip;
    // "Cancel Delayed Capture" in the tray menu runs `cancelled` instead, as
    // does `owner` going away. A newer delayed capture cancels the one that waits.
    void startAfter(int seconds, std::function<void()> start, std::function<void()> cancelled = {},
                    QObject *owner = nullptr);
    void cancelDelayedCapture();
    // "Tavimo Capture", with the seconds left while a delayed capture waits.
    QString trayToolTip() const;
    // A capture for a script that wants the PNG back. Like a capture from the
    // tray it takes the app's windows off the screen, and brings them back after.
    QFuture<CaptureOutcome> captureForCaller(CaptureService &service, CaptureMode mode);
    void showEditor();
    void showSettings();
    void showToast(const QString &message) override;
    void pin(const QImage &image, std::unique_ptr<CaptureBoard> snapshot);
    void about();
    // Undoes typing in a focused text field, else the last annotation.
    void undo();
    bool canUndo() const;
    // Hides every window of the app.
    void hideApplication();

    CaptureWorkspace &model() { return m_model; }
    CapturePreferences &preferences() { return m_preferences; }
    CaptureThumbnail &thumbnail() { return m_thumbnail; }
    CaptureSession &session() { return m_session; }
    ActivationPolicy &activationPolicy() { return m_activationPolicy; }
    QMainWindow *editor() const { return m_editor.get(); }
    QWidget *settingsWindow() const { return m_settingsWindow.get(); }
    CaptureThumbnailWindow *thumbnailWindow() const { return m_thumbnailWindow.get(); }
    CaptureToastWindow *toast() const { return m_toast.get(); }
    QList<CapturePinWindow *> pins() const;
    CaptureMenus *menus() const { return m_menus.get(); }
    CaptureCountdown &countdown() { return m_countdown; }
    QSystemTrayIcon *trayIcon() const { return m_trayIcon.get(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void hideWindows() override;
    void restoreWindows() override;
    void restorePins() override;
    void rememberActiveWindow() override;
    void reactivatePrevious() override;
    void activateApp() override;

    QList<QPointer<QWidget>> takeWindowsOffScreen();
    static void bringBack(const QList<QPointer<QWidget>> &windows);
    void configureUpdates();
    void createEditor();
    void restoreEditorFrame();
    void fitEditorOnScreen();
    void saveEditorFrame();
    void createTrayIcon();
    void connectWorkspace();
    void resolvePendingWork();
    bool isBusy() const;
    void editPinned(CapturePinWindow *pin);
    bool isOwnWindow(xcb_window_t window) const;

    UserDefaults &m_defaults;
    TavimoSignals &m_signals;
    CapturePanels &m_panels;
    CaptureClipboard &m_clipboard;
    CaptureSettingsView::FolderChooser m_chooseFolder;
    CaptureAutostart m_autostart;
    // The version this build was made as.
    QString m_version;
    AppUpdates m_updates;
    CaptureWorkspace m_model;
    std::unique_ptr<CaptureService> m_service;
    CapturePreferences m_preferences;
    CaptureThumbnail m_thumbnail;
    CaptureShortcuts m_shortcuts;
    ActivationPolicy m_activationPolicy;
    DockPresence m_dockPresence{m_activationPolicy};
    X11ActiveWindow m_activeWindow;
    CaptureSession m_session;
    CaptureCountdown m_countdown;
    std::unique_ptr<QMainWindow> m_editor;
    std::unique_ptr<QWidget> m_settingsWindow;
    std::unique_ptr<CaptureThumbnailWindow> m_thumbnailWindow;
    std::unique_ptr<CaptureToastWindow> m_toast;
    std::unique_ptr<CaptureMenus> m_menus;
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
    QList<QPointer<CapturePinWindow>> m_pins;
    // The windows the running capture took off the screen, in order.
    QList<QPointer<QWidget>> m_hiddenWindows;
    xcb_window_t m_previousWindow = XCB_WINDOW_NONE;
    QTimer m_frameSave;
};
