#include "SupportWindow.h"

#include "BetaSupportView.h"
#include "SystemTextClipboard.h"
#include "TavimoSignals.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>

#include <algorithm>

namespace {

constexpr int supportWidth = 520;

// The visible height less 100, between 360 and 520; 800 before clamping
// when there is no screen.
int supportHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int height = screen ? std::max(screen->availableGeometry().height() - 100, 360) : 800;
    return std::min(height, 520);
}

QWidget *makeSupportWindow(TavimoSignals &tavimoSignals)
{
    static SystemTextClipboard clipboard;
    auto *window = new QScrollArea;
    window->setWindowTitle(QCoreApplication::translate("SupportWindow", "Feedback"));
    window->setWidgetResizable(true);
    window->setWidget(new BetaSupportView(tavimoSignals, clipboard));
    window->resize(supportWidth, supportHeight());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
    return window;
}

} // namespace

void SupportWindow::show(TavimoSignals &tavimoSignals, bool bug)
{
    tavimoSignals.setFeedbackIsBug(bug);
    QWidget *window = of(tavimoSignals);
    if (!window) {
        window = makeSupportWindow(tavimoSignals);
        tavimoSignals.setSupportWindow(window);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

QWidget *SupportWindow::of(const TavimoSignals &tavimoSignals)
{
    return qobject_cast<QWidget *>(tavimoSignals.supportWindow());
}
