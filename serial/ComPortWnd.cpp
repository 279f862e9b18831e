#include "serial/ComPortWnd.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

#include "core/SteadyTime.h"

using namespace ComResult;

namespace {

// Bytes that come within this many milliseconds of the start of the run before join it and take
// its time, which bounds the arrival runs kept for a backlog of single bytes.
constexpr std::int64_t kArrivalRunMs = 10;

} // namespace

CComPortWnd::~CComPortWnd()
{
    close();
}

int CComPortWnd::openWithTarget(const std::string& device, ILineTarget* target, int inQueue,
                                 int outQueue)
{
    if (isOpen())
        return result(kAlreadyInitialized);
    if (const int error = CComPort::open(device, inQueue, outQueue); error != kSuccess)
        return error;
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) {
        const int error = errno;
        CComPort::close();
        return result(error);
    }
    target_ = target;
    {
        std::lock_guard lock(bufferMutex_);
        clearPending();
        lastByteMs_ = -1;
        resetLine();
        ++session_;
    }
    stop_.store(false);
    readerRunning_.store(true);
    try {
        reader_ = std::thread(&CComPortWnd::threadBody, this);
    } catch (const std::system_error& failure) {
        // std::thread reports a failed pthread_create only this way; it becomes a result code.
        readerRunning_.store(false);
        ::close(wakeFd_);
        wakeFd_ = -1;
        target_ = nullptr;
        CComPort::close();
        return result(failure.code().value());
    }
    return result(kSuccess);
}

int CComPortWnd::close()
{
    stopReader();
    target_ = nullptr;
    {
        // Whatever the finished reader posted or took in belongs to the port as it was.
        std::lock_guard lock(bufferMutex_);
        clearPending();
        resetLine();
        ++session_;
    }
    return CComPort::close();
}

void CComPortWnd::resetLine()
{
    lineBuffer_.clear();
    discarding_ = false;
    skippingCut_ = false;
    handedOverMs_ = -1;
    ++generation_;
}

void CComPortWnd::forgetReceived(bool midLine)
{
    resetLine();
    skippingCut_ = midLine;
}

void CComPortWnd::clearPending()
{
    pending_.clear();
    pendingAt_ = 0;
    arrivalRuns_.clear();
}

int CComPortWnd::purge()
{
    if (!isOpen())
        return result(kInvalidHandle);
    std::lock_guard lock(bufferMutex_);
    // What was received, in order: the line being assembled, the bytes taken in, then those in
    // the driver, which are read out rather than flushed unseen. The last byte forgotten tells
    // whether a line is still on its way, whose rest must then be dropped too. Bytes that arrive
    // after this are new and are kept.
    bool midLine = discarding_ || skippingCut_ || !lineBuffer_.empty();
    std::size_t drained = pending_.size() - pendingAt_;
    if (drained > 0)
        midLine = !endsCutLine(pending_.back());
    clearPending();
    char buffer[256];
    while (drained < kMaxDrain) {
        const ssize_t n = ::read(fd(), buffer, sizeof buffer);
        if (n > 0) {
            drained += static_cast<std::size_t>(n);
            midLine = !endsCutLine(buffer[n - 1]);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: nothing more waits; 0 or an error: the reader reports the line failure
    }
    const bool flooded = drained >= kMaxDrain;
    forgetReceived(flooded || midLine);
    if (flooded && ::tcflush(fd(), TCIFLUSH) != 0)
        return result(errno);
    return result(::tcflush(fd(), TCOFLUSH) == 0 ? kSuccess : errno);
}

void CComPortWnd::stopReader()
{
    if (reader_.joinable()) {
        stop_.store(true);
        wake();
        // The thread blocks only in poll(), which the eventfd ends at once, so the join is short
        // (well within the 2000 ms a close may take).
        reader_.join();
    }
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
        wakeFd_ = -1;
    }
}

void CComPortWnd::wake()
{
    const std::uint64_t one = 1;
    // A full counter (never reached) would already wake the thread, so the result can be ignored.
    [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void CComPortWnd::setReceiveEnabled(bool enabled)
{
    {
        // Under the lock that hands a line over: the line in flight is handled once reception
        // is enabled again.
        std::lock_guard lock(bufferMutex_);
        receiveEnable_.store(enabled);
        if (enabled)
            handedOverMs_ = -1;
    }
    if (enabled && wakeFd_ >= 0)
        wake();
}

void CComPortWnd::clearLineBuffer()
{
    std::lock_guard lock(bufferMutex_);
    forgetReceived(discarding_ || skippingCut_ ||
                   (!lineBuffer_.empty() && !endsCutLine(lineBuffer_.back())));
}

CComPortWnd::Arrivals CComPortWnd::arrivals() const
{
    std::lock_guard lock(bufferMutex_);
    Arrivals seen{lastByteMs_, handedOverMs_};
    if (seen.waitingLineMs < 0) {
        for (std::size_t at = pendingAt_; at < pending_.size(); ++at) {
            if (isTerminator(pending_[at])) {
                seen.waitingLineMs = arrivalOf(at);
                break;
            }
        }
    }
    return seen;
}

std::int64_t CComPortWnd::arrivalOf(std::size_t index) const
{
    const std::uint64_t position = takenIn_ - pending_.size() + index;
    for (const auto& [end, ms] : arrivalRuns_) {
        if (position < end)
            return ms;
    }
    return lastByteMs_;
}

bool CComPortWnd::isTerminator(char byte) const
{
    return dialogue_.load() ? (byte == '\n' || byte == ':') : byte == '\r';
}

bool CComPortWnd::endsCutLine(char byte) const
{
    // Data lines end with a carriage return in either mode; the dialogue's lines end with a
    // line feed or a colon.
    return byte == '\r' || (dialogue_.load() && (byte == '\n' || byte == ':'));
}

void CComPortWnd::threadBody()
{
    int failure = 0; // set when the line hung up or failed
    for (;;) {
        if (stop_.load())
            break;
        // One line at a time, each once the frame has handled the one before.
        while (receiveEnable_.load() && !stop_.load() && assembleLine()) {
        }
        if (failure != 0) {
            // The port is gone: the lines taken in before go to the frame at once, in order,
            // and the disconnect request after them.
            while (!stop_.load() && assembleLine()) {
            }
            lineFailure(failure);
            break;
        }
        // The port is watched for hang-up only (POLLHUP and POLLERR are always reported) while
        // the bytes taken in fill their limit, so bytes waiting in the driver cannot make poll()
        // spin.
        bool room = false;
        {
            std::lock_guard lock(bufferMutex_);
            room = pending_.size() - pendingAt_ < kMaxPending;
        }
        pollfd fds[2] = {{wakeFd_, POLLIN, 0},
                         {fd(), static_cast<short>(room ? POLLIN : 0), 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            failure = errno;
            continue;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
        }
        // Bytes that came before a hang-up are taken in first: they may complete the last line.
        if (fds[1].revents & POLLIN)
            failure = takeInBytes();
        if (failure == 0 && (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)))
            failure = EIO;
    }
    readerRunning_.store(false);
}

int CComPortWnd::takeInBytes()
{
    // Read under the purge's lock: no byte read before a purge lands after it.
    std::lock_guard lock(bufferMutex_);
    const std::uint64_t before = takenIn_;
    int failure = 0;
    char buffer[4096];
    while (pending_.size() - pendingAt_ < kMaxPending) {
        const ssize_t n = ::read(fd(), buffer, sizeof buffer);
        if (n > 0) {
            pending_.append(buffer, static_cast<std::size_t>(n));
            takenIn_ += static_cast<std::uint64_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN)
            failure = n == 0 ? EIO : errno; // a read of 0 on a tty means it hung up
        break;
    }
    if (takenIn_ != before) {
        lastByteMs_ = steadyNowMs();
        if (!arrivalRuns_.empty() && lastByteMs_ - arrivalRuns_.back().second < kArrivalRunMs)
            arrivalRuns_.back().first = takenIn_;
        else
            arrivalRuns_.emplace_back(takenIn_, lastByteMs_);
    }
    return failure;
}

bool CComPortWnd::assembleLine()
{
    std::string line;
    bool complete = false;
    bool overflow = false;
    unsigned stamp = 0;
    std::int64_t arrived = -1;
    {
        // Taken under the purge's lock: the stamp is the generation at the moment the line was
        // completed.
        std::lock_guard lock(bufferMutex_);
        while (!complete && !overflow && pendingAt_ < pending_.size())
            complete = takeByte(pending_[pendingAt_++], &line, &overflow);
        if (complete)
            arrived = arrivalOf(pendingAt_ - 1);
        const std::uint64_t consumed = takenIn_ - (pending_.size() - pendingAt_);
        while (!arrivalRuns_.empty() && arrivalRuns_.front().first <= consumed)
            arrivalRuns_.pop_front();
        if (pendingAt_ == pending_.size()) {
            pending_.clear();
            pendingAt_ = 0;
        } else if (pendingAt_ >= kMaxPending / 2) {
            pending_.erase(0, pendingAt_);
            pendingAt_ = 0;
        }
        stamp = generation_.load();
    }
    if (complete)
        handOver(std::move(line), stamp, arrived);
    if (overflow)
        requestDisconnect();
    return complete || overflow;
}

bool CComPortWnd::takeByte(char byte, std::string* line, bool* overflow)
{
    if (skippingCut_) {
        skippingCut_ = !endsCutLine(byte);
        return false;
    }
    const bool terminator = isTerminator(byte);
    if (discarding_) {
        discarding_ = !terminator;
        return false;
    }
    lineBuffer_ += byte;
    // The length is tested before the terminator: a 256th byte fails even when it ends the line.
    if (lineBuffer_.size() > kMaxLine) {
        lineBuffer_.clear();
        discarding_ = !terminator;
        *overflow = true;
        return false;
    }
    if (!terminator)
        return false;
    line->swap(lineBuffer_);
    lineBuffer_.clear();
    return true;
}

void CComPortWnd::handOver(std::string line, unsigned generation, std::int64_t arrivedMs)
{
    if (!target_)
        return;
    if (dialogue_.load())
        target_->postWatchdogStop(generation);
    {
        // Cleared before the line is posted, so the frame's re-enable after handling it always
        // wins.
        std::lock_guard lock(bufferMutex_);
        receiveEnable_.store(false);
        handedOverMs_ = arrivedMs;
    }
    target_->postLine(std::move(line), generation);
}

void CComPortWnd::lineFailure(int error)
{
    result(error);
    requestDisconnect();
}

void CComPortWnd::requestDisconnect()
{
    if (!target_)
        return;
    unsigned session = 0;
    {
        std::lock_guard lock(bufferMutex_);
        session = session_.load();
    }
    target_->postDisconnectRequest(session);
}
