#include "tools/record/SignalWatch.h"

#include <cerrno>
#include <csignal>
#include <sys/signalfd.h>
#include <unistd.h>

CSignalWatch::~CSignalWatch()
{
    notifier_.reset(); // no longer watched before its descriptor closes
    if (fd_ >= 0)
        ::close(fd_);
}

int CSignalWatch::start(Handler handler)
{
    handler_ = std::move(handler);
    sigset_t watched;
    ::sigemptyset(&watched);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaddset(&watched, signal);
    fd_ = ::signalfd(-1, &watched, SFD_NONBLOCK | SFD_CLOEXEC);
    if (fd_ < 0)
        return errno;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &CSignalWatch::read);
    return 0;
}

void CSignalWatch::read()
{
    signalfd_siginfo info{};
    while (fd_ >= 0 && ::read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
        handler_(static_cast<int>(info.ssi_signo));
}
