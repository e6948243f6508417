#pragma once

#include <QEventLoop>
#include <gtest/gtest.h>
#include <qcoro/qcorotask.h>

#include <exception>
#include <optional>

// Runs a task to completion in a nested event loop and hands back its value,
// rethrowing what it threw. (QCoro::waitFor of our QCoro version never
// returns when the task throws.)
template<typename T>
T awaitTask(QCoro::Task<T> task)
{
    QEventLoop loop;
    bool done = false;
    std::optional<T> result;
    std::exception_ptr error;
    auto runner = [&]() -> QCoro::Task<> {
        try {
            result.emplace(co_await task);
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
        loop.quit();
    };
    auto running = runner();
    if (!done)
        loop.exec();
    if (error)
        std::rethrow_exception(error);
    return std::move(*result);
}

// The E that the task throws; when it ends without one, a test failure and nothing.
template<typename E, typename T>
std::optional<E> awaitFailure(QCoro::Task<T> task)
{
    try {
        awaitTask(std::move(task));
    } catch (const E &e) {
        return e;
    }
    ADD_FAILURE() << "the task ended without the expected exception";
    return std::nullopt;
}
