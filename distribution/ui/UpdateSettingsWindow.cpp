#include "UpdateSettingsWindow.h"

#include "AppDistributionSettings.h"
#include "AppUpdates.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

namespace {

std::unique_ptr<QWidget> makeWindow(AppUpdates &updates)
{
    auto window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setWindowTitle(UpdateSettingsWindow::tr("Update Settings"));
    auto *layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new AppDistributionSettings(updates));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    window->adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window->move(screen->availableGeometry().center() - window->rect().center());
    return window;
}

} // namespace

UpdateSettingsWindow::UpdateSettingsWindow(AppUpdates &updates, QObject *parent) : QObject(parent), m_updates(updates)
{
    connect(&m_updates, &AppUpdates::preferencesRequested, this, &UpdateSettingsWindow::show);
}

UpdateSettingsWindow::~UpdateSettingsWindow() = default;

void UpdateSettingsWindow::show()
{
    if (!m_window)
        m_window = makeWindow(m_updates);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}
