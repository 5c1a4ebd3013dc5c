#pragma once

#include <chrono>
#include <functional>
#include <future>

// Waits for `result`, calling `whileWaiting` every few milliseconds, so that
// the user interface stays alive while the run's thread waits for a worker.
template <class T>
void WaitPumping(const std::future<T> &result, const std::function<void()> &whileWaiting)
{
    while (result.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        whileWaiting();
}
