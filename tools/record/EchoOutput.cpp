#include "tools/record/EchoOutput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

CEchoOutput::CEchoOutput(int fd, Log log, QObject* parent)
    : QObject(parent), fd_(fd), log_(std::move(log)), notifier_(fd, QSocketNotifier::Write)
{
    notifier_.setEnabled(false);
    connect(&notifier_, &QSocketNotifier::activated, this, &CEchoOutput::writePending);
    // Only a pipe or a socket can keep a writer waiting for its reader; a terminal or a file
    // keeps its blocking mode, which other programs sharing it may expect.
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)))
        ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
}

void CEchoOutput::write(std::string_view line)
{
    if (closed_)
        return;
    if (pending_.size() + line.size() > kMaxPending) {
        if (dropped_++ == 0)
            log_("standard output is not being read: echo lines are dropped, recording goes on");
        return;
    }
    pending_ += line;
    writePending();
}

void CEchoOutput::writePending()
{
    while (!pending_.empty()) {
        const ssize_t written = ::write(fd_, pending_.data(), pending_.size());
        if (written > 0) {
            pending_.erase(0, static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            notifier_.setEnabled(true); // on again when the reader has taken some
            return;
        }
        closed_ = true;
        pending_.clear();
        notifier_.setEnabled(false);
        log_(std::string("standard output closed (") +
             (written < 0 ? std::strerror(errno) : "nothing written") +
             "): echo stops, recording goes on");
        return;
    }
    notifier_.setEnabled(false);
    if (dropped_ != 0) {
        log_("echo resumed; " + std::to_string(dropped_) + " lines were dropped");
        dropped_ = 0;
    }
}

void CEchoOutput::flush(int timeoutMs)
{
    while (!closed_ && !pending_.empty() && timeoutMs > 0) {
        pollfd pfd{fd_, POLLOUT, 0};
        if (::poll(&pfd, 1, 100) > 0)
            writePending();
        timeoutMs -= 100;
    }
}
