#pragma once
// SIGINT, SIGTERM and SIGHUP read from a signalfd on the event loop. They must be blocked in
// every thread before (main() does so before any thread starts), so that they arrive only here.

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

class CSignalWatch final : public QObject {
public:
    using Handler = std::function<void(int signal)>;

    explicit CSignalWatch(QObject* parent = nullptr) : QObject(parent) {}
    ~CSignalWatch() override;

    // 0, or the errno when the signals cannot be watched.
    int start(Handler handler);

private:
    void read();

    Handler handler_;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};
