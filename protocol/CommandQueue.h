#pragma once
// The command queue: first in, first out. New commands enter at the head; the command being
// served is always the one at the tail. The queue owns its commands: a command that leaves it
// (served, timed out, dropped at disconnect) is destroyed.

#include <cstddef>
#include <deque>
#include <memory>

#include "protocol/Command.h"

class CCommandQueue {
public:
    void addHead(std::unique_ptr<CCommand> command) { commands_.push_front(std::move(command)); }

    // The oldest command, or null when the queue is empty.
    CCommand* tail() const { return commands_.empty() ? nullptr : commands_.back().get(); }

    // Destroys the oldest command; nothing happens on an empty queue.
    void dropTail()
    {
        if (!commands_.empty())
            commands_.pop_back();
    }

    void clear() { commands_.clear(); }
    bool empty() const { return commands_.empty(); }
    std::size_t size() const { return commands_.size(); }

private:
    std::deque<std::unique_ptr<CCommand>> commands_;
};
