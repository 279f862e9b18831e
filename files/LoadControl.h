#pragma once
// What a long file reading shares with the window that waits for it: a flag that asks the
// reading to stop (set from any thread, checked by the reading now and then) and how far it got.
// Readers count their work in bytes of the file, each pass over it counting once.

#include <atomic>
#include <cstdint>

class CLoadControl {
public:
    void abort() { aborted_.store(true, std::memory_order_relaxed); }
    bool aborted() const { return aborted_.load(std::memory_order_relaxed); }

    // Adds work to do, and work done (from any thread).
    void addWork(std::uint64_t units) { total_.fetch_add(units, std::memory_order_relaxed); }
    void advance(std::uint64_t units) { done_.fetch_add(units, std::memory_order_relaxed); }

    // Done share of the work known so far, 0 to 1.
    double fraction() const
    {
        const std::uint64_t total = total_.load(std::memory_order_relaxed);
        const std::uint64_t done = done_.load(std::memory_order_relaxed);
        return total == 0 ? 0.0 : (done >= total ? 1.0 : static_cast<double>(done) / total);
    }

private:
    std::atomic<bool> aborted_{false};
    std::atomic<std::uint64_t> total_{0};
    std::atomic<std::uint64_t> done_{0};
};
