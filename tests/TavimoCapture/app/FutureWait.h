#pragma once

#include <QEventLoop>
#include <QFuture>
#include <QFutureWatcher>
#include <QTimer>

// Runs the event loop until `future` is settled (or a generous limit passes,
// so that a broken test fails instead of hanging), then hands it back.
template <typename T> QFuture<T> settled(QFuture<T> future)
{
    if (!future.isFinished()) {
        QEventLoop loop;
        QFutureWatcher<T> watcher;
        QObject::connect(&watcher, &QFutureWatcher<T>::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        watcher.setFuture(future);
        loop.exec();
    }
    return future;
}

template <typename T> T resultOf(QFuture<T> future)
{
    return settled(future).result();
}
