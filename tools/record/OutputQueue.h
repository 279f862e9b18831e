#pragma once
// Text for a descriptor whose reader may stop reading (a terminal held with Ctrl+S, a frozen ssh
// session, a full pipe, a stalled journal): a thread of its own writes it with ordinary blocking
// writes, so the caller never waits and the descriptor's blocking mode, which other processes
// share, is left alone. The queue is bounded: a text that does not fit is refused whole, so
// lines are written whole or not at all, never glued. A write error (the reader has gone) ends
// the writing, and every later text is refused.
//
// The writer thread keeps what it shares with the caller alive by itself: when the queue goes
// away while a write still blocks, the thread is left to end with the process.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string_view>

class COutputQueue {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    COutputQueue(int fd, std::size_t capacity);
    ~COutputQueue();
    COutputQueue(const COutputQueue&) = delete;
    COutputQueue& operator=(const COutputQueue&) = delete;

    // Queues text; false (nothing queued) when it does not fit or the writing has ended.
    bool push(std::string_view text);
    // Waits until everything queued is written, the writing has ended or deadline has come;
    // true when everything was written.
    bool flush(Deadline deadline);
    // The errno that ended the writing; 0 while it goes on.
    int error() const;

private:
    struct State;
    std::shared_ptr<State> state_;
};
