#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// The wait of a delayed capture, a second at a time, so the app can show what
// remains and the user can call it off. One at a time: starting another
// cancels the one that waits.
class CaptureCountdown : public QObject {
    Q_OBJECT

public:
    explicit CaptureCountdown(QObject *parent = nullptr);

    // Runs `elapsed` after `seconds` (at once for 0), or `cancelled` if cancel() comes first
    // or `owner`, when given, goes away while it waits.
    void start(int seconds, std::function<void()> elapsed, std::function<void()> cancelled = {},
               QObject *owner = nullptr);
    void cancel();
    // 0 when nothing waits.
    int remainingSeconds() const { return m_remaining; }

signals:
    void remainingChanged(int seconds);

private:
    void tick();
    void setRemaining(int seconds);

    QTimer m_tick;
    int m_remaining = 0;
    std::function<void()> m_elapsed;
    std::function<void()> m_cancelled;
    QMetaObject::Connection m_ownerGone;
};
