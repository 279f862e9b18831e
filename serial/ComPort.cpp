#include "serial/ComPort.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "serial/ComName.h"
#include "serial/LineSpeed.h"

using namespace ComResult;

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until the deadline, never negative.
int msLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

Clock::time_point transferDeadline(int timeoutMs)
{
    int wait = CComPort::kTransferWaitMs;
    if (timeoutMs >= 0 && timeoutMs < wait)
        wait = timeoutMs;
    return Clock::now() + std::chrono::milliseconds(wait);
}

// Waits for the descriptor to become ready; false on time-out. EINTR restarts the wait.
bool waitReady(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd pfd{fd, events, 0};
        const int n = ::poll(&pfd, 1, msLeft(deadline));
        if (n > 0)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

CComPort::~CComPort()
{
    if (isOpen())
        closeDescriptor();
}

int CComPort::open(const std::string& device, int inQueue, int outQueue)
{
    if (isOpen())
        return result(kAlreadyInitialized);
    if (inQueue < 0 || outQueue < 0)
        return result(EINVAL);
    const std::string path = resolveComName(device);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return result(errno);
    fd_ = fd;
    path_ = path;
    // flock first: TIOCEXCL does not stop root, the advisory lock stops every other Ventora.
    // A device that another process holds keeps its exclusive flag: closing here leaves it set.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        closeDescriptor();
        return result(error);
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        const int error = errno;
        closeDescriptor();
        return result(error);
    }
    exclusive_ = true;
    const int error = applyDefaults();
    if (error != kSuccess) {
        closeDescriptor();
        return result(error);
    }
    return result(kSuccess);
}

int CComPort::applyDefaults()
{
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return errno;
    ::cfmakeraw(&tio);
    tio.c_iflag |= IGNBRK;
    tio.c_cflag |= CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1; // with O_NONBLOCK: no data gives EAGAIN, a read of 0 means hang-up
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0)
        return errno;
    eventMask_ = ComEvent::kDefaultMask;
    lastEvents_ = 0xFFFFFFFFu;
    eventChar_ = 0;
    readKind_ = kReadNonBlocking;
    if (const int error = setHandshaking(kHandshakeNone); error != kSuccess)
        return error;
    return configureLine(9600, 8, kParityNone, kStopBitsOne);
}

void CComPort::closeDescriptor()
{
    // Clear the exclusivity we set: the tty may stay open elsewhere (a simulator holds its own
    // end), and the flag would outlive us and lock our own reopen out. A flag we did not set
    // belongs to the process that holds the device.
    if (exclusive_)
        ::ioctl(fd_, TIOCNXCL);
    exclusive_ = false;
    ::close(fd_);
    fd_ = -1;
    path_.clear();
}

int CComPort::close()
{
    if (isOpen())
        closeDescriptor();
    return result(kSuccess);
}

int CComPort::configureLine(int baud, int dataBits, int parity, int stopBits)
{
    if (!isOpen())
        return result(kInvalidHandle);
    const speed_t speed = speedFromBaud(baud);
    const bool validStop = stopBits == kStopBitsOne || stopBits == kStopBitsTwo ||
                           (stopBits == kStopBitsOneAndHalf && dataBits == 5);
    if (speed == kNoSpeed || dataBits < 5 || dataBits > 8 || parity < kParityNone ||
        parity > kParitySpace || !validStop)
        return result(EINVAL);
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return result(errno);
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag = (tio.c_cflag & ~CSIZE) | kSizes[dataBits - 5];
    tio.c_cflag &= ~(PARENB | PARODD | CMSPAR | CSTOPB);
    if (parity != kParityNone)
        tio.c_cflag |= PARENB;
    if (parity == kParityOdd || parity == kParityMark)
        tio.c_cflag |= PARODD;
    if (parity == kParityMark || parity == kParitySpace)
        tio.c_cflag |= CMSPAR;
    if (stopBits != kStopBitsOne)
        tio.c_cflag |= CSTOPB; // with 5 data bits the UART sends one and a half
    if (parity != kParityNone)
        tio.c_iflag |= INPCK;
    else
        tio.c_iflag &= ~INPCK;
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0)
        return result(errno);
    return result(setModemLine(TIOCM_RTS, true));
}

int CComPort::setModemLine(int line, bool on)
{
    if (::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0)
        return kSuccess;
    // Devices without modem lines (pseudo-terminals, some adapters) have no RTS or DTR to set.
    return errno == ENOTTY || errno == EINVAL ? kSuccess : errno;
}

int CComPort::setEventChar(char eventChar, bool adjustMask)
{
    if (!isOpen())
        return result(kInvalidHandle);
    eventChar_ = eventChar;
    if (adjustMask)
        eventMask_ |= ComEvent::kRxFlag;
    return result(kSuccess);
}

int CComPort::setEventMask(std::uint32_t mask)
{
    if (!isOpen())
        return result(kInvalidHandle);
    eventMask_ = mask;
    return result(kSuccess);
}

int CComPort::waitEvent(int timeoutMs)
{
    if (!isOpen())
        return result(kInvalidHandle);
    const bool wantData = (eventMask_ & (ComEvent::kRxChar | ComEvent::kRxFlag)) != 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        pollfd pfd{fd_, static_cast<short>(wantData ? POLLIN : 0), 0};
        const int n = ::poll(&pfd, 1, timeoutMs < 0 ? -1 : msLeft(deadline));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return result(errno);
        if (n == 0)
            return result(kTimeout);
        std::uint32_t events = 0;
        if (pfd.revents & POLLIN)
            events |= ComEvent::kRxChar;
        if (pfd.revents & (POLLERR | POLLHUP | POLLNVAL))
            events |= ComEvent::kError;
        lastEvents_ = events & eventMask_;
        return result(kSuccess);
    }
}

std::uint32_t CComPort::takeEvents()
{
    const std::uint32_t events = lastEvents_;
    lastEvents_ = 0xFFFFFFFFu;
    return events;
}

int CComPort::setHandshaking(int kind)
{
    if (!isOpen())
        return result(kInvalidHandle);
    if (kind < kHandshakeNone || kind > kHandshakeSoftware)
        return result(kInvalidArgument);
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0)
        return result(errno);
    tio.c_cflag &= ~CRTSCTS;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    if (kind == kHandshakeHardware)
        tio.c_cflag |= CRTSCTS;
    if (kind == kHandshakeSoftware)
        tio.c_iflag |= IXON | IXOFF;
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0)
        return result(errno);
    if (kind == kHandshakeNone) {
        // No flow control at all: DTR and RTS drop until the line is configured (RTS on).
        if (const int error = setModemLine(TIOCM_DTR, false); error != kSuccess)
            return result(error);
        return result(setModemLine(TIOCM_RTS, false));
    }
    return result(kSuccess);
}

int CComPort::setReadTimeouts(int kind)
{
    if (!isOpen())
        return result(kInvalidHandle);
    if (kind != kReadNonBlocking && kind != kReadBlocking)
        return result(kInvalidArgument);
    readKind_ = kind;
    return result(kSuccess);
}

bool CComPort::readSettings(termios& tio)
{
    if (!isOpen())
        return result(kInvalidHandle) == kSuccess;
    return result(::tcgetattr(fd_, &tio) == 0 ? kSuccess : errno) == kSuccess;
}

int CComPort::getBaudRate()
{
    termios tio{};
    if (!readSettings(tio))
        return -1;
    return baudFromSpeed(::cfgetospeed(&tio));
}

int CComPort::getDataBits()
{
    termios tio{};
    if (!readSettings(tio))
        return -1;
    switch (tio.c_cflag & CSIZE) {
    case CS5: return 5;
    case CS6: return 6;
    case CS7: return 7;
    default: return 8;
    }
}

int CComPort::getParity()
{
    termios tio{};
    if (!readSettings(tio))
        return -1;
    if (!(tio.c_cflag & PARENB))
        return kParityNone;
    const bool odd = (tio.c_cflag & PARODD) != 0;
    if (tio.c_cflag & CMSPAR)
        return odd ? kParityMark : kParitySpace;
    return odd ? kParityOdd : kParityEven;
}

int CComPort::getStopBits()
{
    termios tio{};
    if (!readSettings(tio))
        return -1;
    if (!(tio.c_cflag & CSTOPB))
        return kStopBitsOne;
    return (tio.c_cflag & CSIZE) == CS5 ? kStopBitsOneAndHalf : kStopBitsTwo;
}

int CComPort::getHandshaking()
{
    termios tio{};
    if (!readSettings(tio))
        return -1;
    if (tio.c_cflag & CRTSCTS)
        return kHandshakeHardware;
    return (tio.c_iflag & (IXON | IXOFF)) ? kHandshakeSoftware : kHandshakeNone;
}

std::uint32_t CComPort::getEventMask()
{
    return result(isOpen() ? kSuccess : kInvalidHandle) == kSuccess ? eventMask_ : 0;
}

char CComPort::getEventChar()
{
    return result(isOpen() ? kSuccess : kInvalidHandle) == kSuccess ? eventChar_ : 0;
}

int CComPort::writeText(std::string_view text)
{
    return write(text.data(), text.size());
}

int CComPort::writeByte(char byte)
{
    return write(&byte, 1);
}

int CComPort::write(const void* data, std::size_t count, std::size_t* written, int timeoutMs)
{
    std::size_t done = 0;
    if (written)
        *written = 0;
    if (!isOpen())
        return result(kInvalidHandle);
    const auto deadline = transferDeadline(timeoutMs);
    const auto* bytes = static_cast<const char*>(data);
    while (done < count) {
        const ssize_t n = ::write(fd_, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            if (written)
                *written = done;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            return result(errno);
        // The rest is simply not sent: the kernel holds no pointer into our buffer.
        if (!waitReady(fd_, POLLOUT, deadline))
            return result(kTimeout);
    }
    return result(kSuccess);
}

int CComPort::read(void* data, std::size_t count, std::size_t* got, int timeoutMs)
{
    std::size_t done = 0;
    if (got)
        *got = 0;
    if (!isOpen())
        return result(kInvalidHandle);
    const auto deadline = transferDeadline(timeoutMs);
    auto* bytes = static_cast<char*>(data);
    while (done < count) {
        const ssize_t n = ::read(fd_, bytes + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            if (got)
                *got = done;
            continue;
        }
        if (n == 0)
            return result(EIO); // the device hung up
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            return result(errno);
        if (readKind_ == kReadNonBlocking)
            break;
        if (!waitReady(fd_, POLLIN, deadline))
            return result(kTimeout);
    }
    return result(kSuccess);
}

int CComPort::purge()
{
    if (!isOpen())
        return result(kInvalidHandle);
    return result(::tcflush(fd_, TCIOFLUSH) == 0 ? kSuccess : errno);
}

int CComPort::setBreak()
{
    if (!isOpen())
        return result(kInvalidHandle);
    return result(::ioctl(fd_, TIOCSBRK) == 0 ? kSuccess : errno);
}

int CComPort::clearBreak()
{
    if (!isOpen())
        return result(kInvalidHandle);
    return result(::ioctl(fd_, TIOCCBRK) == 0 ? kSuccess : errno);
}

int CComPort::sendBreak(int milliseconds)
{
    if (const int error = setBreak(); error != kSuccess)
        return error;
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return clearBreak();
}
