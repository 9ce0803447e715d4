#pragma once

#include <QEventLoop>
#include <QFuture>
#include <QFutureWatcher>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

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

// The `Error` that `future` failed with.
template <typename Error, typename T> Error failureOf(QFuture<T> future)
{
    try {
        settled(future).waitForFinished();
    } catch (const Error &error) {
        return error;
    }
    ADD_FAILURE() << "the future did not fail with the expected error";
    throw std::logic_error("no error");
}
