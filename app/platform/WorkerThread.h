#pragma once

#include <QFuture>
#include <QPromise>
#include <QThreadPool>

#include <exception>
#include <memory>
#include <optional>
#include <type_traits>

// What a function run on a worker thread gave: its value or its exception.
template<typename Value>
struct WorkerOutcome {
    std::optional<Value> value;
    std::exception_ptr error;

    // The value, or the exception rethrown on the calling thread.
    Value take()
    {
        if (error)
            std::rethrow_exception(error);
        return std::move(*value);
    }
};

// Runs a function on a thread of the global pool. Awaiting the future
// (co_await, through QCoro) resumes the coroutine on its own thread while that
// thread's event loop keeps running, so the GUI thread never blocks on
// parsing or decoding:
//
//     auto work = runOnWorkerThread([body] { return parse(body); });
//     auto records = (co_await work)->take();
//
// The function must not touch objects that live on the awaiting thread.
// (A plain function returning a future rather than a coroutine: GCC 12
// destroys a lambda argument of a coroutine twice.)
template<typename Function, typename Value = std::invoke_result_t<Function &>>
QFuture<std::shared_ptr<WorkerOutcome<Value>>> runOnWorkerThread(Function function)
{
    auto promise = std::make_shared<QPromise<std::shared_ptr<WorkerOutcome<Value>>>>();
    QFuture<std::shared_ptr<WorkerOutcome<Value>>> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, function = std::move(function)]() mutable {
        auto outcome = std::make_shared<WorkerOutcome<Value>>();
        try {
            outcome->value.emplace(function());
        } catch (...) {
            outcome->error = std::current_exception();
        }
        promise->addResult(outcome);
        promise->finish();
    });
    return future;
}
