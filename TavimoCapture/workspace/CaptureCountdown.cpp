#include "CaptureCountdown.h"

#include <chrono>
#include <utility>

CaptureCountdown::CaptureCountdown(QObject *parent) : QObject(parent)
{
    m_tick.setInterval(std::chrono::seconds(1));
    m_tick.setTimerType(Qt::PreciseTimer);
    connect(&m_tick, &QTimer::timeout, this, &CaptureCountdown::tick);
}

void CaptureCountdown::start(int seconds, std::function<void()> elapsed, std::function<void()> cancelled,
                             QObject *owner)
{
    cancel();
    if (seconds <= 0) {
        elapsed();
        return;
    }
    m_elapsed = std::move(elapsed);
    m_cancelled = std::move(cancelled);
    if (owner)
        m_ownerGone = connect(owner, &QObject::destroyed, this, &CaptureCountdown::cancel);
    m_tick.start();
    setRemaining(seconds);
}

void CaptureCountdown::cancel()
{
    if (m_remaining == 0)
        return;
    m_tick.stop();
    m_elapsed = nullptr;
    // Taken first: the callback may start another countdown.
    const std::function<void()> cancelled = std::exchange(m_cancelled, nullptr);
    setRemaining(0);
    if (cancelled)
        cancelled();
}

void CaptureCountdown::tick()
{
    if (m_remaining > 1) {
        setRemaining(m_remaining - 1);
        return;
    }
    m_tick.stop();
    m_cancelled = nullptr;
    const std::function<void()> elapsed = std::exchange(m_elapsed, nullptr);
    setRemaining(0);
    elapsed();
}

void CaptureCountdown::setRemaining(int seconds)
{
    if (seconds == 0)
        disconnect(m_ownerGone);
    m_remaining = seconds;
    emit remainingChanged(seconds);
}
