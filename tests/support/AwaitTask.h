#pragma once

#include <QEventLoop>
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
