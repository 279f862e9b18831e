#include "tests/serial/PtyPair.h"

#include <cerrno>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <thread>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    termios raw{};
    ::cfmakeraw(&raw);
    char name[128] = {};
    if (::openpty(&master_, &heldSlave_, name, &raw, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    slavePath_ = name;
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair()
{
    hangUp();
}

void PtyPair::send(const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EAGAIN) {
            pollfd pfd{master_, POLLOUT, 0};
            ::poll(&pfd, 1, 100);
        } else if (!(n < 0 && errno == EINTR)) {
            throw std::runtime_error("write to master failed");
        }
    }
}

std::string PtyPair::receive(int waitMs, int quietMs)
{
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd pfd{master_, POLLIN, 0};
        if (::poll(&pfd, 1, out.empty() ? 20 : quietMs) <= 0) {
            if (!out.empty())
                break;
            continue;
        }
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

bool PtyPair::waitDrained(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    // Bytes written to the master reach the slave's queue through a kernel worker: give it time.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    do {
        int waiting = 0;
        // Our held slave descriptor shares the terminal's input queue with the port under test.
        if (::ioctl(heldSlave_, FIONREAD, &waiting) == 0 && waiting == 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

void PtyPair::hangUp()
{
    if (master_ >= 0)
        ::close(master_);
    if (heldSlave_ >= 0)
        ::close(heldSlave_);
    master_ = heldSlave_ = -1;
}

void CLineCollector::postLine(std::string line, unsigned generation)
{
    std::function<void()> action;
    {
        std::lock_guard lock(mutex_);
        lines_.push_back(std::move(line));
        generations_.push_back(generation);
        action = onLine_;
        changed_.notify_all();
    }
    if (action)
        action();
}

void CLineCollector::postDisconnectRequest(unsigned session)
{
    std::lock_guard lock(mutex_);
    ++disconnects_;
    sessions_.push_back(session);
    changed_.notify_all();
}

void CLineCollector::onLine(std::function<void()> action)
{
    std::lock_guard lock(mutex_);
    onLine_ = std::move(action);
}

std::vector<unsigned> CLineCollector::generations() const
{
    std::lock_guard lock(mutex_);
    return generations_;
}

std::vector<unsigned> CLineCollector::disconnectSessions() const
{
    std::lock_guard lock(mutex_);
    return sessions_;
}

void CLineCollector::postWatchdogStop(unsigned generation)
{
    std::lock_guard lock(mutex_);
    ++watchdogStops_;
    watchdogGenerations_.push_back(generation);
}

bool CLineCollector::waitLines(std::size_t n, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return lines_.size() >= n; });
}

bool CLineCollector::waitDisconnects(int n, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return disconnects_ >= n; });
}

std::vector<std::string> CLineCollector::lines() const
{
    std::lock_guard lock(mutex_);
    return lines_;
}

int CLineCollector::disconnects() const
{
    std::lock_guard lock(mutex_);
    return disconnects_;
}

std::vector<unsigned> CLineCollector::watchdogGenerations() const
{
    std::lock_guard lock(mutex_);
    return watchdogGenerations_;
}

int CLineCollector::watchdogStops() const
{
    std::lock_guard lock(mutex_);
    return watchdogStops_;
}

double processCpuMs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}
