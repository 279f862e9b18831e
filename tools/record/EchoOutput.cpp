#include "tools/record/EchoOutput.h"

#include <cstring>
#include <string>

CEchoOutput::CEchoOutput(int fd, Log log, std::size_t capacity)
    : queue_(fd, capacity), log_(std::move(log))
{
}

void CEchoOutput::write(std::string_view line)
{
    if (closed_)
        return;
    if (const int error = queue_.error(); error != 0) {
        closed_ = true;
        log_(std::string("standard output closed (") + std::strerror(error) +
             "): echo stops, recording goes on");
        return;
    }
    if (!queue_.push(line)) {
        if (dropped_++ == 0)
            log_("standard output is not being read: echo lines are dropped, recording goes on");
        return;
    }
    if (dropped_ != 0) {
        log_("echo resumed; " + std::to_string(dropped_) + " lines were dropped");
        dropped_ = 0;
    }
}
