#pragma once
#include <chrono>
#include <thread>

// Polls the condition every 50 ms until it holds or the deadline passes.
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}
