#include "DockPresence.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

DockPresence::DockPresence(ActivationPolicy &policy, QObject *parent) : QObject(parent), m_policy(policy)
{
}

ActivationPolicy::Policy DockPresence::wantedPolicy(const QList<WindowState> &windows)
{
    for (const WindowState &window : windows) {
        if (window.ordinary && !window.background && window.visibleOrMinimized)
            return ActivationPolicy::Policy::regular;
    }
    return ActivationPolicy::Policy::accessory;
}

void DockPresence::start()
{
    if (m_started)
        return;
    m_started = true;
    qApp->installEventFilter(this);
    scheduleReconcile();
}

void DockPresence::prepareToShow()
{
    m_policy.setPolicy(ActivationPolicy::Policy::regular);
}

void DockPresence::registerEditorWindow(QWidget *window)
{
    m_registeredEditors.append(window);
    scheduleReconcile();
}

void DockPresence::didChooseBackground()
{
    if (!m_started)
        return;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (isOrdinary(window))
            m_backgroundWindows.append(window);
    }
    reconcile();
}

void DockPresence::scheduleReconcile()
{
    if (std::exchange(m_pending, true))
        return;
    QTimer::singleShot(0, this, [this] {
        m_pending = false;
        reconcile();
    });
}

void DockPresence::reconcile()
{
    QList<WindowState> states;
    for (QWidget *window : QApplication::topLevelWidgets())
        states.append(
            {isOrdinary(window), m_backgroundWindows.contains(window), window->isVisible() || window->isMinimized()});
    m_policy.setPolicy(wantedPolicy(states));
}

bool DockPresence::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || !widget->isWindow())
        return false;
    switch (event->type()) {
    case QEvent::WindowActivate:
        windowBecameActive(widget);
        break;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Close:
    case QEvent::WindowStateChange:
        scheduleReconcile();
        break;
    default:
        break;
    }
    return false;
}

bool DockPresence::isOrdinary(QWidget *window) const
{
    if (m_registeredEditors.contains(window))
        return true;
    const Qt::WindowType type = window->windowType();
    const bool titled = !window->windowFlags().testFlag(Qt::FramelessWindowHint);
    return (type == Qt::Window || type == Qt::Dialog) && titled;
}

void DockPresence::windowBecameActive(QWidget *window)
{
    if (isOrdinary(window)) {
        m_backgroundWindows.removeAll(window);
        m_policy.setPolicy(ActivationPolicy::Policy::regular);
    }
    scheduleReconcile();
}
