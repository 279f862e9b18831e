#include "serial/ComPortWnd.h"

#include <cerrno>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

using namespace ComResult;

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
        // Whatever the finished reader posted belongs to the port as it was.
        std::lock_guard lock(bufferMutex_);
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
    ++generation_;
}

int CComPortWnd::purge()
{
    if (!isOpen())
        return result(kInvalidHandle);
    std::lock_guard lock(bufferMutex_);
    // The waiting bytes are read out rather than flushed unseen: the last of them tells whether
    // a line is still on its way, whose rest must then be dropped too. Bytes that arrive after
    // this are new and are kept.
    std::size_t drained = 0;
    char last = 0;
    char buffer[256];
    while (drained < kMaxDrain) {
        const ssize_t n = ::read(fd(), buffer, sizeof buffer);
        if (n > 0) {
            drained += static_cast<std::size_t>(n);
            last = buffer[n - 1];
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: nothing more waits; 0 or an error: the reader reports the line failure
    }
    if (drained > 0) {
        const bool flooded = drained >= kMaxDrain;
        const bool midLine = flooded || !endsCutLine(last);
        resetLine();
        skippingCut_ = midLine;
        if (flooded && ::tcflush(fd(), TCIFLUSH) != 0)
            return result(errno);
    } else {
        ++generation_; // a line completed before this call is no longer current
    }
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
    receiveEnable_.store(enabled);
    if (enabled && wakeFd_ >= 0)
        wake();
}

void CComPortWnd::clearLineBuffer()
{
    std::lock_guard lock(bufferMutex_);
    const bool midLine =
        discarding_ || skippingCut_ || (!lineBuffer_.empty() && !endsCutLine(lineBuffer_.back()));
    resetLine();
    skippingCut_ = midLine;
}

bool CComPortWnd::endsCutLine(char byte) const
{
    // Data lines end with a carriage return in either mode; the dialogue's lines end with a
    // line feed or a colon.
    return byte == '\r' || (dialogue_.load() && (byte == '\n' || byte == ':'));
}

void CComPortWnd::threadBody()
{
    for (;;) {
        // While reception is disabled the port is watched for hang-up only (POLLHUP and POLLERR
        // are always reported), so bytes waiting in the driver cannot make poll() spin.
        const bool receiving = receiveEnable_.load();
        pollfd fds[2] = {{wakeFd_, POLLIN, 0},
                         {fd(), static_cast<short>(receiving ? POLLIN : 0), 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            lineFailure(errno);
            break;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
        }
        if (stop_.load())
            break;
        // Bytes that came before a hang-up are read first: they may complete the last line.
        if ((fds[1].revents & POLLIN) && receiveBytes() == Read::Failed)
            break;
        if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            lineFailure(EIO);
            break;
        }
    }
    readerRunning_.store(false);
}

CComPortWnd::Read CComPortWnd::receiveBytes()
{
    while (receiveEnable_.load() && !stop_.load()) {
        std::string line;
        bool complete = false;
        bool overflow = false;
        unsigned stamp = 0;
        ssize_t n = 0;
        int error = 0;
        {
            // Read and taken under the purge's lock: no byte read before a purge lands after it,
            // and the stamp is the generation at the moment the line was completed.
            std::lock_guard lock(bufferMutex_);
            char byte = 0;
            n = ::read(fd(), &byte, 1);
            error = errno;
            if (n == 1)
                complete = takeByte(byte, &line, &overflow);
            stamp = generation_.load();
        }
        if (n == 1) {
            if (complete)
                handOver(std::move(line), stamp);
            if (overflow)
                requestDisconnect();
            continue;
        }
        if (n < 0 && error == EINTR)
            continue;
        if (n < 0 && error == EAGAIN)
            return Read::Idle;
        lineFailure(n == 0 ? EIO : error); // a read of 0 on a tty means it hung up
        return Read::Failed;
    }
    return Read::Idle;
}

bool CComPortWnd::takeByte(char byte, std::string* line, bool* overflow)
{
    if (skippingCut_) {
        skippingCut_ = !endsCutLine(byte);
        return false;
    }
    const bool terminator = dialogue_.load() ? (byte == '\n' || byte == ':') : byte == '\r';
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

void CComPortWnd::handOver(std::string line, unsigned generation)
{
    if (!target_)
        return;
    if (dialogue_.load())
        target_->postWatchdogStop();
    // Cleared before the line is posted, so the frame's re-enable after handling it always wins.
    receiveEnable_.store(false);
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
