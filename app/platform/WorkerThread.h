#pragma once

#include <QFuture>
#include <QPromise>
#include <QThreadPool>
#include <qcoro/qcorofuture.h>
#include <qcoro/qcorotask.h>

#include <exception>
#include <memory>
#include <optional>
#include <type_traits>

// Runs a function on a thread of the global pool and resumes the awaiting
// coroutine on its own thread with the function's value; an exception the
// function throws is rethrown there. The waiting thread's event loop keeps
// running meanwhile, so the GUI thread never blocks on parsing or decoding.
// The function must not touch objects that live on the awaiting thread.
template<typename Function>
auto runOnWorkerThread(Function function) -> QCoro::Task<std::invoke_result_t<Function &>>
{
    using Value = std::invoke_result_t<Function &>;
    struct Outcome {
        std::optional<Value> value;
        std::exception_ptr error;
    };
    auto promise = std::make_shared<QPromise<std::shared_ptr<Outcome>>>();
    QFuture<std::shared_ptr<Outcome>> future = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, function = std::move(function)]() mutable {
        auto outcome = std::make_shared<Outcome>();
        try {
            outcome->value.emplace(function());
        } catch (...) {
            outcome->error = std::current_exception();
        }
        promise->addResult(outcome);
        promise->finish();
    });
    const std::shared_ptr<Outcome> outcome = co_await future;
    if (outcome->error)
        std::rethrow_exception(outcome->error);
    co_return std::move(*outcome->value);
}
