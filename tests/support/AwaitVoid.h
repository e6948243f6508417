#pragma once

#include "AwaitTask.h"

// awaitTask() for tasks that return nothing.
inline void awaitVoid(QCoro::Task<void> task)
{
    auto wrapped = [](QCoro::Task<void> inner) -> QCoro::Task<bool> {
        co_await std::move(inner);
        co_return true;
    };
    awaitTask(wrapped(std::move(task)));
}
