#pragma once

#include "AwaitTask.h"

// A task that returns nothing, as one that returns true, so that the helpers
// for tasks with a value take it too.
inline QCoro::Task<bool> returningTrue(QCoro::Task<void> task)
{
    co_await std::move(task);
    co_return true;
}

// awaitTask() for tasks that return nothing.
inline void awaitVoid(QCoro::Task<void> task)
{
    awaitTask(returningTrue(std::move(task)));
}

// awaitFailure() for tasks that return nothing.
template<typename E>
std::optional<E> awaitFailure(QCoro::Task<void> task)
{
    return awaitFailure<E>(returningTrue(std::move(task)));
}
