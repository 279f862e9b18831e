#pragma once
// The CSV echo on standard output. Recording must never wait for whoever reads the echo: on a
// pipe or socket the lines are written without blocking, what the reader has not taken yet
// waits in a buffer (written when the descriptor is ready again), and once that buffer holds
// kMaxPending bytes further lines are dropped and counted, with one log line when dropping
// starts and one when it ends. A reader that has gone (EPIPE) ends the echo, not the recording.

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <string>
#include <string_view>

class CEchoOutput final : public QObject {
public:
    static constexpr std::size_t kMaxPending = 1 << 20;
    using Log = std::function<void(std::string_view line)>;

    CEchoOutput(int fd, Log log, QObject* parent = nullptr);

    void write(std::string_view line);
    // Before exit: waits up to timeoutMs for the pending lines to be taken.
    void flush(int timeoutMs);

private:
    void writePending();

    int fd_;
    Log log_;
    QSocketNotifier notifier_;
    std::string pending_;
    unsigned long long dropped_ = 0;
    bool closed_ = false;
};
