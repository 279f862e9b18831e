#pragma once
// The CSV echo on standard output. Recording never waits for whoever reads the echo: the lines
// go through a COutputQueue of kMaxPending bytes, written by its own thread. When the reader
// falls that far behind (a held terminal, a full pipe), further lines are dropped and counted,
// with one log line when dropping starts and one when lines fit again. A reader that has gone
// (EPIPE) ends the echo, not the recording, with one log line.

#include <cstddef>
#include <functional>
#include <string_view>

#include "tools/record/OutputQueue.h"

class CEchoOutput {
public:
    static constexpr std::size_t kMaxPending = 1 << 20;
    using Log = std::function<void(std::string_view line)>;

    CEchoOutput(int fd, Log log, std::size_t capacity = kMaxPending);

    void write(std::string_view line);
    // Before exit: waits until deadline at most for the queued lines to be written.
    bool flush(COutputQueue::Deadline deadline) { return queue_.flush(deadline); }

private:
    COutputQueue queue_;
    Log log_;
    unsigned long long dropped_ = 0;
    bool closed_ = false;
};
