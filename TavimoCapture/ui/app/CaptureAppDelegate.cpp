#include "CaptureAppDelegate.h"

#include "AppTheme.h"
#include "AppearanceMenu.h"
#include "CaptureAlert.h"
#include "CaptureBoard.h"
#include "CaptureMenus.h"
#include "CaptureOutputCapture.h"
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

#include <algorithm>

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
      m_autostart(std::move(platform.autostart)),
      m_version(platform.bundle.value(QStringLiteral("CFBundleShortVersionString"))),
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
    connect(&m_countdown, &CaptureCountdown::remainingChanged, this, [this] {
        if (m_trayIcon)
            m_trayIcon->setToolTip(trayToolTip());
    });
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

// The frame of the last session, or centred at its first size; either way
// on a screen's available area.
void CaptureAppDelegate::restoreEditorFrame()
{
    const QByteArray frame =
        QByteArray::fromBase64(m_defaults.stringValue(editorFrameKey).value_or(QString()).toLatin1());
    if (frame.isEmpty() || !m_editor->restoreGeometry(frame)) {
        m_editor->resize(editorSize);
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frameRect(QPoint(), editorSize);
            frameRect.moveCenter(screen->availableGeometry().center());
            m_editor->move(frameRect.topLeft());
        }
    }
    fitEditorOnScreen();
}

// A frame saved on a larger screen, another scale or a display that is gone
// is shrunk to the available area of the screen it overlaps most (else the
// primary one, centred) and moved fully onto it; the minimum size never
// exceeds that area.
void CaptureAppDelegate::fitEditorOnScreen()
{
    const QRect frame = m_editor->frameGeometry();
    const QScreen *target = nullptr;
    qint64 overlap = 0;
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect shared = screen->availableGeometry().intersected(frame);
        if (qint64(shared.width()) * shared.height() > overlap) {
            overlap = qint64(shared.width()) * shared.height();
            target = screen;
        }
    }
    const bool onAScreen = target != nullptr;
    if (!target)
        target = QGuiApplication::primaryScreen();
    if (!target)
        return;
    const QRect available = target->availableGeometry();
    const QSize border = frame.size() - m_editor->size();
    const QSize room = available.size() - border;
    m_editor->setMinimumSize(editorMinimumSize.boundedTo(room));
    m_editor->resize(m_editor->size().boundedTo(room));
    QRect fitted(frame.topLeft(), m_editor->size() + border);
    if (onAScreen) {
        fitted.moveLeft(std::clamp(fitted.left(), available.left(), available.right() - fitted.width() + 1));
        fitted.moveTop(std::clamp(fitted.top(), available.top(), available.bottom() - fitted.height() + 1));
    } else {
        fitted.moveCenter(available.center());
    }
    m_editor->move(fitted.topLeft());
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
    m_trayIcon->setToolTip(trayToolTip());
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

void CaptureAppDelegate::startAfter(int seconds, std::function<void()> start, std::function<void()> cancelled,
                                    QObject *owner)
{
    m_countdown.start(seconds, std::move(start), std::move(cancelled), owner);
}

void CaptureAppDelegate::cancelDelayedCapture()
{
    m_countdown.cancel();
}

QString CaptureAppDelegate::trayToolTip() const
{
    const QString app = QStringLiteral("Tavimo Capture");
    switch (m_countdown.remainingSeconds()) {
    case 0:
        return app;
    case 1:
        return app + QLatin1Char('\n') + tr("Capture in 1 second");
    default:
        return app + QLatin1Char('\n') + tr("Capture in %1 seconds").arg(m_countdown.remainingSeconds());
    }
}

QFuture<CaptureOutcome> CaptureAppDelegate::captureForCaller(CaptureService &service, CaptureMode mode)
{
    m_thumbnail.dismiss();
    const QList<QPointer<QWidget>> hidden = takeWindowsOffScreen();
    return CaptureOutputCapture::run(service, mode, std::chrono::seconds(0), this)
        .then(this, [hidden](const CaptureOutcome &outcome) {
            bringBack(hidden);
            return outcome;
        });
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
        m_settingsWindow = std::make_unique<CaptureSettingsView>(m_preferences, m_autostart, m_signals, m_chooseFolder);
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
                       QStringLiteral("<h3>Tavimo Capture</h3><p>%1</p><p>Capture, annotate and share. "
                                      "Local by design.</p>")
                           .arg(tr("Version %1").arg(m_version.toHtmlEscaped())));
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
    m_hiddenWindows = takeWindowsOffScreen();
}

QList<QPointer<QWidget>> CaptureAppDelegate::takeWindowsOffScreen()
{
    QList<QPointer<QWidget>> hidden;
    QList<QWidget *> candidates{m_editor.get(), m_settingsWindow.get()};
    for (CapturePinWindow *pin : pins())
        candidates.append(pin);
    for (QWidget *window : candidates) {
        if (window && window->isVisible()) {
            hidden.append(window);
            window->hide();
        }
    }
    m_toast->hide();
    return hidden;
}

void CaptureAppDelegate::restoreWindows()
{
    bringBack(m_hiddenWindows);
}

void CaptureAppDelegate::bringBack(const QList<QPointer<QWidget>> &windows)
{
    for (const QPointer<QWidget> &window : windows) {
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
