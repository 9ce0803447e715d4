#pragma once

#include <QFuture>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

// Runs the event loop until `future` is settled, or fails after a generous limit instead of hanging.
template <typename T> QFuture<T> settled(QFuture<T> future)
{
    EXPECT_TRUE(QTest::qWaitFor([&] { return future.isFinished(); }, 30000)) << "the future did not settle";
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
    throw std::logic_error("the future did not fail with the expected error");
}
