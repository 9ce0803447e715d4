#include "CaptureAppDelegate.h"

#include "AppTheme.h"
#include "AppearanceMenu.h"
#include "CaptureAlert.h"
#include "CaptureBoard.h"
#include "CaptureMenus.h"
#include "CapturePanels.h"
#include "CapturePinWindow.h"
#include "CaptureThumbnailWindow.h"
#include "CaptureToastWindow.h"
#include "CaptureWorkspaceView.h"
#include "PendingWorkUpdateNotice.h"
#include "TavimoSignals.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString noTray = QStringLiteral(
    "This desktop shows no tray icon. Capture from the File menu or the hot keys, and reopen this window by "
    "starting Tavimo Capture again.");

// Undo availability of the focused text field; none when the focus is elsewhere.
std::optional<bool> textFieldCanUndo(QWidget *focus)
{
    if (auto *line = qobject_cast<QLineEdit *>(focus))
        return line->isUndoAvailable();
    if (auto *text = qobject_cast<QTextEdit *>(focus))
        return text->document()->isUndoAvailable();
    if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
        return plain->document()->isUndoAvailable();
    return std::nullopt;
}

CaptureAlert pinReopenAlert()
{
    return {QStringLiteral("Open this pinned capture in the editor?"),
            QStringLiteral("This replaces the current editor document. Save any changes you want to keep first."),
            {QStringLiteral("Open Pinned Capture"), QStringLiteral("Cancel")},
            1};
}

} // namespace

CaptureAppDelegate::CaptureAppDelegate(Platform platform, QObject *parent)
    : QObject(parent), m_defaults(platform.defaults), m_signals(platform.tavimoSignals), m_panels(platform.panels),
      m_clipboard(platform.clipboard), m_chooseFolder(std::move(platform.chooseFolder)),
      m_updates(platform.bundle, platform.updaterEnvironment, platform.tavimoSignals),
      m_model(
          platform.defaults, platform.panels, platform.clipboard, [this](TavimoEvent event) { m_signals.track(event); },
          platform.history),
      m_service(platform.makeService()), m_preferences(platform.defaults), m_thumbnail(platform.hotKeys),
      m_shortcuts(platform.hotKeys),
      m_session({m_model, *m_service, m_preferences, m_thumbnail, m_clipboard, *this, m_defaults,
                 [this](TavimoEvent event) {
                     m_signals.track(event);
                 }},
                platform.session),
      m_thumbnailWindow(std::make_unique<CaptureThumbnailWindow>(m_thumbnail)),
      m_toast(std::make_unique<CaptureToastWindow>())
{
}

// Quitting closes the pins; they are not restored at the next start.
CaptureAppDelegate::~CaptureAppDelegate()
{
    qDeleteAll(pins());
    m_thumbnail.dismiss();
    m_thumbnail.setSurface(nullptr);
}

void CaptureAppDelegate::applicationDidFinishLaunching()
{
    m_dockPresence.start();
    m_signals.start();
    configureUpdates();
    m_menus = std::make_unique<CaptureMenus>(*this, m_updates, m_signals);
    createEditor();
    connectWorkspace();
    m_shortcuts.setOnPress([self = QPointer(this)](CaptureMode mode) {
        if (self)
            self->startCapture(false, mode);
    });
    connect(&m_shortcuts, &CaptureShortcuts::warningsChanged, &m_model, &CaptureWorkspace::setShortcutWarnings);
    m_model.setShortcutWarnings(m_shortcuts.registerShortcuts());
    m_service->keepWarm();
    createTrayIcon();
    showEditor();
}

void CaptureAppDelegate::applicationShouldHandleReopen()
{
    showEditor();
}

void CaptureAppDelegate::applicationWillTerminate()
{
    m_service->cancel();
    m_shortcuts.unregisterShortcuts();
    m_thumbnail.dismiss();
    m_signals.applicationWillTerminate();
}

void CaptureAppDelegate::configureUpdates()
{
    const QPointer self(this);
    m_updates.configurePendingWorkAction(
        QStringLiteral("Save or Close Capture to Update…"),
        QStringLiteral("Update ready. Waiting for capture or text processing to finish, or for the open capture to "
                       "close."),
        [self] {
            if (self)
                self->resolvePendingWork();
        });
    m_updates.start([self] { return self && self->isBusy(); });
}

void CaptureAppDelegate::resolvePendingWork()
{
    if (m_model.busy() || m_model.recognizing() || m_model.detectingText()) {
        m_model.setNotice(QStringLiteral("Wait for capture or text processing to finish before updating."));
        showEditor();
        return;
    }
    showEditor();
    m_model.closeCapture();
}

bool CaptureAppDelegate::isBusy() const
{
    return m_model.busy() || m_model.recognizing() || m_model.detectingText() || m_model.document() || m_model.board();
}

void CaptureAppDelegate::createEditor()
{
    m_editor = std::make_unique<QMainWindow>();
    m_editor->setWindowTitle(QStringLiteral("Tavimo Capture"));
    m_editor->setMinimumSize(editorMinimumSize);
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(new PendingWorkUpdateNotice(m_updates), 0, Qt::AlignHCenter);
    column->addWidget(new CaptureWorkspaceView(m_model, m_defaults, m_clipboard), 1);
    m_editor->setCentralWidget(content);
    m_menus->fillMenuBar(*m_editor->menuBar());
    restoreEditorFrame();
    m_frameSave.setSingleShot(true);
    m_frameSave.setInterval(500);
    connect(&m_frameSave, &QTimer::timeout, this, &CaptureAppDelegate::saveEditorFrame);
    m_editor->installEventFilter(this);
    m_dockPresence.registerEditorWindow(m_editor.get());
}

// The frame of the last session, or centred at its first size.
void CaptureAppDelegate::restoreEditorFrame()
{
    const QByteArray frame =
        QByteArray::fromBase64(m_defaults.stringValue(editorFrameKey).value_or(QString()).toLatin1());
    if (!frame.isEmpty() && m_editor->restoreGeometry(frame))
        return;
    m_editor->resize(editorSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frameRect(QPoint(), editorSize);
        frameRect.moveCenter(screen->availableGeometry().center());
        m_editor->move(frameRect.topLeft());
    }
}

void CaptureAppDelegate::connectWorkspace()
{
    const QPointer self(this);
    m_model.setSettings([self] {
        if (self)
            self->showSettings();
    });
    m_model.setShow([self] {
        if (self)
            self->showEditor();
    });
    m_model.setCapture([self](CaptureMode mode) {
        if (self)
            self->startCapture(false, mode);
    });
    m_model.setPin([self](const QImage &image, std::unique_ptr<CaptureBoard> snapshot) {
        if (self)
            self->pin(image, std::move(snapshot));
    });
    m_model.setAppendCapture([self](CaptureMode mode) {
        if (self)
            self->startCapture(true, mode);
    });
}

void CaptureAppDelegate::createTrayIcon()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        m_model.setNotice(noTray);
        return;
    }
    m_trayIcon = std::make_unique<QSystemTrayIcon>(QIcon(QStringLiteral(":/icons/viewfinder.svg")));
    m_trayIcon->setToolTip(QStringLiteral("Tavimo Capture"));
    m_trayIcon->setContextMenu(m_menus->trayMenu());
    connect(m_trayIcon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            m_menus->trayMenu()->popup(QCursor::pos());
    });
    m_trayIcon->show();
}

void CaptureAppDelegate::startCapture(bool appending, CaptureMode mode)
{
    m_session.startCapture(appending, mode);
}

void CaptureAppDelegate::showEditor()
{
    if (!m_editor)
        return;
    m_dockPresence.prepareToShow();
    const bool wasVisible = m_editor->isVisible();
    m_editor->show();
    m_editor->raise();
    m_editor->activateWindow();
    if (!wasVisible && m_editor->isVisible())
        m_signals.track(TavimoEvent::captureEditor);
}

void CaptureAppDelegate::showSettings()
{
    m_dockPresence.prepareToShow();
    if (!m_settingsWindow) {
        m_settingsWindow = std::make_unique<CaptureSettingsView>(m_preferences, m_signals, m_chooseFolder);
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame(QPoint(), CaptureSettingsView::panelSize);
            frame.moveCenter(screen->availableGeometry().center());
            m_settingsWindow->move(frame.topLeft());
        }
    }
    m_settingsWindow->show();
    m_settingsWindow->raise();
    m_settingsWindow->activateWindow();
}

void CaptureAppDelegate::showToast(const QString &message)
{
    m_toast->showMessage(message);
}

void CaptureAppDelegate::pin(const QImage &image, std::unique_ptr<CaptureBoard> snapshot)
{
    auto *window = new CapturePinWindow(image, std::move(snapshot));
    window->setAttribute(Qt::WA_DeleteOnClose);
    const QPointer<CapturePinWindow> pinned(window);
    connect(window, &CapturePinWindow::editRequested, this, [this, pinned] {
        if (pinned)
            editPinned(pinned);
    });
    connect(window, &CapturePinWindow::closed, this, [this, pinned] { m_pins.removeAll(pinned); });
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), window->size());
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    m_pins.append(pinned);
    window->show();
    window->raise();
}

void CaptureAppDelegate::editPinned(CapturePinWindow *pin)
{
    if (m_model.board()) {
        activateApp();
        if (m_panels.runAlert(pinReopenAlert()) != 0)
            return;
    }
    m_model.acceptBoard(pin->reopenedBoard());
}

QList<CapturePinWindow *> CaptureAppDelegate::pins() const
{
    QList<CapturePinWindow *> windows;
    for (const QPointer<CapturePinWindow> &pin : m_pins) {
        if (pin)
            windows.append(pin);
    }
    return windows;
}

void CaptureAppDelegate::about()
{
    QMessageBox::about(m_editor.get(), QStringLiteral("About Tavimo Capture"),
                       QStringLiteral("<h3>Tavimo Capture</h3><p>Version 0.4.0</p><p>Capture, annotate and share. "
                                      "Local by design.</p>"));
}

void CaptureAppDelegate::undo()
{
    QWidget *focus = QApplication::focusWidget();
    if (textFieldCanUndo(focus)) {
        QMetaObject::invokeMethod(focus, "undo");
        return;
    }
    if (canUndo())
        m_model.undo();
}

bool CaptureAppDelegate::canUndo() const
{
    if (const std::optional<bool> text = textFieldCanUndo(QApplication::focusWidget()))
        return *text;
    QWidget *active = QApplication::activeWindow();
    if (active && active != m_editor.get())
        return false;
    if (m_model.showingBoard())
        return m_model.board() && m_model.board()->canUndo();
    return m_model.document() && m_model.document()->canUndo();
}

void CaptureAppDelegate::hideApplication()
{
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
}

// A moved or resized editor is remembered once it rests; a closed one at once.
bool CaptureAppDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_editor.get())
        return false;
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        m_frameSave.start();
    else if (event->type() == QEvent::Close)
        saveEditorFrame();
    return false;
}

void CaptureAppDelegate::saveEditorFrame()
{
    m_frameSave.stop();
    if (m_editor->isVisible())
        m_defaults.setValue(editorFrameKey, QString::fromLatin1(m_editor->saveGeometry().toBase64()));
}

void CaptureAppDelegate::hideWindows()
{
    m_hiddenWindows.clear();
    QList<QWidget *> candidates{m_editor.get(), m_settingsWindow.get()};
    for (CapturePinWindow *pin : pins())
        candidates.append(pin);
    for (QWidget *window : candidates) {
        if (window && window->isVisible()) {
            m_hiddenWindows.append(window);
            window->hide();
        }
    }
    m_toast->hide();
}

void CaptureAppDelegate::restoreWindows()
{
    for (const QPointer<QWidget> &window : std::as_const(m_hiddenWindows)) {
        if (window)
            window->show();
    }
}

void CaptureAppDelegate::restorePins()
{
    for (const QPointer<QWidget> &window : std::as_const(m_hiddenWindows)) {
        if (qobject_cast<CapturePinWindow *>(window.data())) {
            window->show();
            window->raise();
        }
    }
}

void CaptureAppDelegate::rememberActiveWindow()
{
    const xcb_window_t active = m_activeWindow.current();
    m_previousWindow = isOwnWindow(active) ? xcb_window_t(XCB_WINDOW_NONE) : active;
}

void CaptureAppDelegate::reactivatePrevious()
{
    m_activeWindow.activate(m_previousWindow);
}

// With its windows hidden the app has nothing to raise; the screenshot tool
// takes the keyboard for its overlay itself.
void CaptureAppDelegate::activateApp()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowType() == Qt::Window) {
            window->raise();
            window->activateWindow();
            return;
        }
    }
}

bool CaptureAppDelegate::isOwnWindow(xcb_window_t window) const
{
    if (window == XCB_WINDOW_NONE)
        return false;
    for (const QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->internalWinId() == window)
            return true;
    }
    return false;
}
