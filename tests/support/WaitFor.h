#pragma once
// Waits until a condition holds, looking every 20 ms, for tests that watch a child process or a
// file from outside; false when timeoutMs passed first.

#include <chrono>
#include <functional>
#include <thread>

inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
