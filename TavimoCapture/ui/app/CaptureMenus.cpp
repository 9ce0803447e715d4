#include "CaptureMenus.h"

#include "AcceleratorText.h"
#include "AppUpdates.h"
#include "CaptureAppDelegate.h"
#include "CaptureShortcuts.h"
#include "FeedbackMenuItems.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace {

QKeySequence keys(Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    return QKeySequence(QKeyCombination(modifiers, key));
}

// The desktop's own quit key, or Ctrl+Q where it names none (as on most Linux desktops).
QKeySequence quitKeys()
{
    const QKeySequence standard(QKeySequence::Quit);
    return standard.isEmpty() ? keys(Qt::ControlModifier, Qt::Key_Q) : standard;
}

// The key works through the menu only; the editor's own button holds it in the window.
void showKeyOnly(QAction *action)
{
    action->setShortcutContext(Qt::WidgetShortcut);
}

} // namespace

CaptureMenus::CaptureMenus(CaptureAppDelegate &delegate, AppUpdates &updates, TavimoSignals &tavimoSignals)
    : m_delegate(delegate), m_updates(updates), m_signals(tavimoSignals)
{
    CaptureWorkspace &model = m_delegate.model();
    for (const CaptureMode mode : allCaptureModes) {
        const std::optional<QKeyCombination> hotKey = CaptureShortcuts::hotKey(mode);
        QAction *action = command(captureModeTitle(mode), hotKey ? QKeySequence(*hotKey) : QKeySequence(),
                                  [this, mode] { m_delegate.startCapture(false, mode); });
        action->setData(quint32(mode));
        m_captures.emplace(mode, action);
    }
    m_openImage = command(QStringLiteral("Open Image…"), QKeySequence::Open, [&model] { model.openImage(false); });
    m_save = command(QStringLiteral("Save Image…"), keys(Qt::ControlModifier, Qt::Key_S),
                     [&model] { model.saveImage(false); });
    m_saveAs = command(QStringLiteral("Save Image As…"), keys(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_S),
                       [&model] { model.saveImage(true); });
    m_closeCapture = command(QStringLiteral("Close Capture…"), keys(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_W),
                             [&model] { model.closeCapture(); });
    m_closeWindow = command(QStringLiteral("Close Window"), keys(Qt::ControlModifier, Qt::Key_W), [] {
        if (QWidget *window = QApplication::activeWindow())
            window->close();
    });
    m_hide = command(QStringLiteral("Hide Tavimo Capture"), keys(Qt::ControlModifier, Qt::Key_H),
                     [this] { m_delegate.hideApplication(); });
    m_quit = command(QStringLiteral("Quit Tavimo Capture"), quitKeys(), [] { QApplication::quit(); });
    m_undo = command(QStringLiteral("Undo Annotation"), QKeySequence::Undo, [this] { m_delegate.undo(); });
    m_textCommands = {textCommand(QStringLiteral("Cut"), QKeySequence::Cut, "cut"),
                      textCommand(QStringLiteral("Copy"), QKeySequence::Copy, "copy"),
                      textCommand(QStringLiteral("Paste"), QKeySequence::Paste, "paste"),
                      textCommand(QStringLiteral("Select All"), QKeySequence::SelectAll, "selectAll")};
    m_copyImage = command(QStringLiteral("Copy Image"), keys(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_C),
                          [&model] { model.copyImage(); });
    m_settings = command(QStringLiteral("Settings…"), keys(Qt::ControlModifier, Qt::Key_Comma),
                         [this] { m_delegate.showSettings(); });
    m_openCapture = command(QStringLiteral("Open Capture"), keys(Qt::ControlModifier, Qt::Key_0),
                            [this] { m_delegate.showEditor(); });
    m_about = command(QStringLiteral("About Tavimo Capture"), QKeySequence(), [this] { m_delegate.about(); });
    for (QAction *action : {m_save, m_saveAs, m_copyImage})
        showKeyOnly(action);
    makeTrayMenu(updates, tavimoSignals);

    connect(&model, &CaptureWorkspace::changed, this, &CaptureMenus::validate);
    connect(&model, &CaptureWorkspace::busyChanged, this, &CaptureMenus::validate);
    connect(&model, &CaptureWorkspace::recognizingChanged, this, &CaptureMenus::validate);
    connect(&model, &CaptureWorkspace::detectingTextChanged, this, &CaptureMenus::validate);
    connect(qApp, &QApplication::focusChanged, this, &CaptureMenus::validate);
    validate();
}

CaptureMenus::~CaptureMenus() = default;

QAction *CaptureMenus::command(const QString &title, const QKeySequence &keys, std::function<void()> run)
{
    auto *action = new QAction(AcceleratorText::literal(title), this);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, std::move(run));
    return action;
}

// Goes to the focused text field, as the desktop's own Cut, Copy and Paste do.
QAction *CaptureMenus::textCommand(const QString &title, QKeySequence::StandardKey key, const char *slot)
{
    return command(title, key, [slot] {
        if (QWidget *focus = QApplication::focusWidget())
            QMetaObject::invokeMethod(focus, slot);
    });
}

void CaptureMenus::fillMenuBar(QMenuBar &bar)
{
    QMenu *file = bar.addMenu(QStringLiteral("&File"));
    for (const CaptureMode mode : allCaptureModes)
        file->addAction(m_captures.at(mode));
    file->addSeparator();
    file->addActions({m_openImage, m_save, m_saveAs});
    file->addSeparator();
    file->addActions({m_closeCapture, m_closeWindow});
    file->addSeparator();
    file->addActions({m_hide, m_quit});

    QMenu *edit = bar.addMenu(QStringLiteral("&Edit"));
    edit->addAction(m_undo);
    edit->addSeparator();
    edit->addActions(m_textCommands);
    edit->addAction(m_copyImage);
    edit->addSeparator();
    edit->addAction(m_settings);

    QMenu *view = bar.addMenu(QStringLiteral("&View"));
    view->addAction(m_openCapture);

    QMenu *help = bar.addMenu(QStringLiteral("&Help"));
    help->addAction(m_updates.menuItem());
    help->addAction(m_updates.preferencesMenuItem());
    if (QAction *pending = m_updates.pendingWorkMenuItem())
        help->addAction(pending);
    help->addSeparator();
    for (QAction *feedback : FeedbackMenuItems::make(m_signals, help))
        help->addAction(feedback);
    help->addSeparator();
    help->addAction(m_about);
    for (QMenu *menu : {file, edit, view, help})
        watch(menu);
}

void CaptureMenus::makeTrayMenu(AppUpdates &updates, TavimoSignals &tavimoSignals)
{
    m_trayMenu = std::make_unique<QMenu>();
    m_trayMenu->addAction(updates.menuItem());
    m_trayMenu->addAction(updates.preferencesMenuItem());
    if (QAction *pending = updates.pendingWorkMenuItem())
        m_trayMenu->addAction(pending);
    FeedbackMenuItems::addTo(*m_trayMenu, tavimoSignals);
    for (const CaptureMode mode : allCaptureModes) {
        QAction *action = m_trayMenu->addAction(AcceleratorText::literal(trayTitle(mode)), this,
                                                [this, mode] { m_delegate.startCapture(false, mode); });
        action->setData(quint32(mode));
        m_trayCaptures.emplace(mode, action);
    }
    m_cancelDelay = m_trayMenu->addAction(AcceleratorText::literal(tr("Cancel Delayed Capture")), this,
                                          [this] { m_delegate.cancelDelayedCapture(); });
    m_cancelDelay->setVisible(false);
    connect(&m_delegate.countdown(), &CaptureCountdown::remainingChanged, m_cancelDelay,
            [this](int seconds) { m_cancelDelay->setVisible(seconds > 0); });
    m_trayMenu->addSeparator();
    m_trayMenu->addAction(AcceleratorText::literal(QStringLiteral("Editor & Recent Captures")), this,
                          [this] { m_delegate.showEditor(); });
    m_trayMenu->addAction(AcceleratorText::literal(QStringLiteral("Settings…")), this,
                          [this] { m_delegate.showSettings(); });
    m_trayMenu->addAction(AcceleratorText::literal(QStringLiteral("Quit Tavimo Capture")), this,
                          [] { QApplication::quit(); });
    watch(m_trayMenu.get());
}

QString CaptureMenus::trayTitle(CaptureMode mode)
{
    const QString label = shortcutLabel(mode);
    return label.isEmpty() ? captureModeTitle(mode) : captureModeTitle(mode) + QStringLiteral("    ") + label;
}

void CaptureMenus::watch(QMenu *menu)
{
    connect(menu, &QMenu::aboutToShow, this, &CaptureMenus::validate);
}

void CaptureMenus::validate()
{
    const CaptureWorkspace &model = m_delegate.model();
    for (const auto &captures : {m_captures, m_trayCaptures}) {
        for (const auto &[mode, action] : captures)
            action->setEnabled(!model.busy());
    }
    const bool hasDocument = model.document() != nullptr;
    for (QAction *action : {m_save, m_saveAs, m_copyImage})
        action->setEnabled(hasDocument);
    m_closeCapture->setEnabled(model.canCloseCapture());
    m_undo->setEnabled(m_delegate.canUndo());
}
