#pragma once

#include "UserDefaults.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

// Runs the event loop until `defaults` has written its pending changes by
// itself, for at most twice its write interval; true when it has.
inline bool waitForSettingsWrite(const UserDefaults &defaults)
{
    const QDeadlineTimer deadline(2 * UserDefaults::writeInterval);
    while (defaults.hasPendingChanges() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    return !defaults.hasPendingChanges();
}
