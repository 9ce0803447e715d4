#pragma once

#include "ActivationPolicy.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

// Keeps the app's presence regular while the user has one of its ordinary
// windows (the editor, the settings) on screen, and accessory once the last
// one is closed, hidden or sent to the background. Floating panels such as
// the thumbnail and the toast never count. GUI thread only.
class DockPresence : public QObject {
    Q_OBJECT

public:
    // What the reconcile pass reads of one window.
    struct WindowState {
        bool ordinary = false;
        bool background = false;
        bool visibleOrMinimized = false;
    };

    explicit DockPresence(ActivationPolicy &policy, QObject *parent = nullptr);

    // Regular when some ordinary window not in the background is on screen or minimized.
    static ActivationPolicy::Policy wantedPolicy(const QList<WindowState> &windows);

    // Once: watches the app's windows, then reconciles.
    void start();
    // Before the app shows one of its windows.
    void prepareToShow();
    // `window` always counts as an ordinary window.
    void registerEditorWindow(QWidget *window);
    // The user keeps the current ordinary windows in the background.
    void didChooseBackground();
    // Every change within one turn of the event loop leads to one pass.
    void scheduleReconcile();
    void reconcile();

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool isOrdinary(QWidget *window) const;
    void windowBecameActive(QWidget *window);

    ActivationPolicy &m_policy;
    bool m_started = false;
    bool m_pending = false;
    QList<QPointer<QWidget>> m_backgroundWindows;
    QList<QPointer<QWidget>> m_registeredEditors;
};
