#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "serial/ComPort.h"
#include "serial/LineSpeed.h"
#include "tests/serial/PtyPair.h"
#include "tests/support/TempDir.h"

namespace {

using namespace ComResult;
using Clock = std::chrono::steady_clock;

long elapsedMs(Clock::time_point since)
{
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

// Whether the terminal's exclusive flag is set, asked through a descriptor of our own: root may
// open an exclusive terminal and read the flag; anyone else is refused with EBUSY, which answers.
bool exclusiveFlagSet(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY;
    int set = 0;
    const bool known = ::ioctl(fd, TIOCGEXCL, &set) == 0;
    ::close(fd);
    return known && set != 0;
}

class ComPortTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(port.open(pty.slavePath()), kSuccess); }

    termios masterView() const
    {
        termios tio{};
        ::tcgetattr(pty.master(), &tio); // a master reports its slave's settings
        return tio;
    }

    PtyPair pty;
    CComPort port;
};

TEST_F(ComPortTest, OpenCloseReopenAndSecondOpen)
{
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.devicePath(), pty.slavePath());

    // A second open of an open port fails and changes nothing: the port still works.
    EXPECT_EQ(port.open(pty.slavePath()), kAlreadyInitialized);
    EXPECT_EQ(port.lastError(), kAlreadyInitialized);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.writeText("x"), kSuccess);
    EXPECT_EQ(pty.receive(), "x");

    // Another object cannot take a device in use, even as root.
    CComPort other;
    EXPECT_EQ(other.open(pty.slavePath()), EBUSY);
    EXPECT_FALSE(other.isOpen());
    EXPECT_TRUE(exclusiveFlagSet(pty.slavePath())) << "a refused open leaves the holder's flag";

    EXPECT_EQ(port.close(), kSuccess);
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(exclusiveFlagSet(pty.slavePath()));
    EXPECT_EQ(port.close(), kSuccess); // closing a closed port is harmless

    // The exclusive flag is cleared on close, so the device opens again while the other end
    // still holds it.
    EXPECT_EQ(port.open(pty.slavePath()), kSuccess);
    EXPECT_EQ(port.writeText("y"), kSuccess);
    EXPECT_EQ(pty.receive(), "y");
}

TEST_F(ComPortTest, EveryOperationOnAClosedPortGivesInvalidHandle)
{
    port.close();
    char buffer[4];
    std::size_t count = 99;
    const std::pair<const char*, std::function<int()>> operations[] = {
        {"configureLine", [&] { return port.configureLine(9600, 8, 0, 2); }},
        {"setEventChar", [&] { return port.setEventChar('\r', true); }},
        {"setEventMask", [&] { return port.setEventMask(1); }},
        {"waitEvent", [&] { return port.waitEvent(10); }},
        {"setHandshaking", [&] { return port.setHandshaking(0); }},
        {"setReadTimeouts", [&] { return port.setReadTimeouts(0); }},
        {"writeText", [&] { return port.writeText("M1.."); }},
        {"write", [&] { return port.write("ab", 2, &count); }},
        {"writeByte", [&] { return port.writeByte('a'); }},
        {"read", [&] { return port.read(buffer, sizeof buffer, &count); }},
        {"purge", [&] { return port.purge(); }},
        {"setBreak", [&] { return port.setBreak(); }},
        {"clearBreak", [&] { return port.clearBreak(); }},
        {"sendBreak", [&] { return port.sendBreak(); }},
    };
    for (const auto& [name, operation] : operations) {
        SCOPED_TRACE(name);
        EXPECT_EQ(operation(), kInvalidHandle);
        EXPECT_EQ(port.lastError(), kInvalidHandle);
        EXPECT_FALSE(port.isOpen());
    }
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(port.getBaudRate(), -1);
    EXPECT_EQ(port.getDataBits(), -1);
    EXPECT_EQ(port.getParity(), -1);
    EXPECT_EQ(port.getStopBits(), -1);
    EXPECT_EQ(port.getHandshaking(), -1);
    EXPECT_EQ(port.getEventMask(), 0u);
    EXPECT_EQ(port.getEventChar(), 0);
    EXPECT_EQ(port.lastError(), kInvalidHandle);
}

TEST(ComPortOpenTest, DevicesThatCannotBeOpenedLeaveThePortClosed)
{
    TempDir dir;
    const std::string plainFile = dir.file("not-a-tty");
    writeFile(plainFile, "data");
    ::setenv("VENTORA_COM9", dir.file("no-such-device").c_str(), 1);
    const std::pair<std::string, int> cases[] = {
        {dir.file("missing"), ENOENT},
        {"COM9", ENOENT}, // through the COM name
        {plainFile, ENOTTY},
    };
    for (const auto& [device, error] : cases) {
        SCOPED_TRACE(device);
        CComPort port;
        EXPECT_EQ(port.open(device), error);
        EXPECT_EQ(port.lastError(), error);
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(port.writeText("x"), kInvalidHandle);
    }
    ::unsetenv("VENTORA_COM9");
}

TEST(ComPortOpenTest, ForbiddenDeviceGivesPermissionError)
{
    PtyPair pty;
    ASSERT_EQ(::chmod(pty.slavePath().c_str(), 0600), 0);
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(pty.slavePath().c_str(), 0), 0);
        CComPort port;
        EXPECT_EQ(port.open(pty.slavePath()), EACCES);
        EXPECT_FALSE(port.isOpen());
        return;
    }
    // Root may open anything: try as an ordinary user (not in the device's group) in a child.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(100);
        CComPort port;
        const int error = port.open(pty.slavePath());
        ::_exit(error == EACCES && !port.isOpen() ? 0 : 101);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(ComPortTest, OpensWithTheDefaultLine)
{
    EXPECT_EQ(port.getBaudRate(), 9600);
    EXPECT_EQ(port.getDataBits(), 8);
    EXPECT_EQ(port.getParity(), CComPort::kParityNone);
    EXPECT_EQ(port.getStopBits(), CComPort::kStopBitsOne);
    EXPECT_EQ(port.getHandshaking(), CComPort::kHandshakeNone);
    EXPECT_EQ(port.getEventMask(), 0xC1u);
    const termios tio = masterView();
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u) << "raw: bytes must pass unchanged";
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_iflag & (ICRNL | INLCR | IGNCR | IXON), 0u);
}

TEST_F(ComPortTest, ConfiguresEveryRateAndStopBitsSeenByTheOtherEnd)
{
    for (const int baud : {9600, 19200, 38400, 57600, 115200}) {
        for (const int stopBits : {CComPort::kStopBitsOne, CComPort::kStopBitsTwo}) {
            SCOPED_TRACE(testing::Message() << baud << " baud, stop code " << stopBits);
            ASSERT_EQ(port.configureLine(baud, 8, CComPort::kParityNone, stopBits), kSuccess);
            EXPECT_EQ(port.getBaudRate(), baud);
            EXPECT_EQ(port.getStopBits(), stopBits);
            const termios tio = masterView();
            EXPECT_EQ(baudFromSpeed(::cfgetospeed(&tio)), baud);
            EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
            EXPECT_EQ(tio.c_cflag & PARENB, 0u);
        }
    }
    // A pseudo-terminal always keeps 8 data bits without parity, but the parity check flag is
    // ours to set.
    ASSERT_EQ(port.configureLine(19200, 7, CComPort::kParityEven, CComPort::kStopBitsOne), 0);
    EXPECT_NE(masterView().c_iflag & INPCK, 0u) << "parity is checked when there is parity";
    ASSERT_EQ(port.configureLine(19200, 8, CComPort::kParityNone, CComPort::kStopBitsOne), 0);
    EXPECT_EQ(masterView().c_iflag & INPCK, 0u);
    EXPECT_EQ(port.configureLine(19200, 5, CComPort::kParityMark, 1), kSuccess);
}

TEST_F(ComPortTest, RejectsImpossibleLinesAndKeepsTheCurrentOne)
{
    ASSERT_EQ(port.configureLine(38400, 8, 0, 2), kSuccess);
    const int bad[][4] = {
        {12345, 8, 0, 2}, {0, 8, 0, 2}, {9600, 9, 0, 2}, {9600, 4, 0, 2},
        {9600, 8, 5, 2},  {9600, 8, -1, 2}, {9600, 8, 0, 1}, {9600, 8, 0, 3},
    };
    for (const auto& line : bad) {
        SCOPED_TRACE(testing::Message() << line[0] << ' ' << line[1] << ' ' << line[2] << ' '
                                        << line[3]);
        EXPECT_EQ(port.configureLine(line[0], line[1], line[2], line[3]), EINVAL);
        EXPECT_EQ(port.getBaudRate(), 38400);
        EXPECT_EQ(port.getStopBits(), CComPort::kStopBitsTwo);
    }
}

TEST_F(ComPortTest, HandshakingAndReadKinds)
{
    EXPECT_EQ(port.setHandshaking(CComPort::kHandshakeHardware), kSuccess);
    EXPECT_EQ(port.getHandshaking(), CComPort::kHandshakeHardware);
    EXPECT_EQ(port.setHandshaking(CComPort::kHandshakeSoftware), kSuccess);
    EXPECT_EQ(port.getHandshaking(), CComPort::kHandshakeSoftware);
    EXPECT_EQ(port.setHandshaking(CComPort::kHandshakeNone), kSuccess);
    EXPECT_EQ(port.getHandshaking(), CComPort::kHandshakeNone);
    for (const int kind : {-1, 3}) {
        EXPECT_EQ(port.setHandshaking(kind), kInvalidArgument);
        EXPECT_EQ(port.setReadTimeouts(kind == 3 ? 2 : kind), kInvalidArgument);
    }
    EXPECT_EQ(port.lastError(), static_cast<int>(0x80070057u));
    EXPECT_EQ(port.getHandshaking(), CComPort::kHandshakeNone);
}

TEST_F(ComPortTest, WritesBytesUnchanged)
{
    EXPECT_EQ(port.writeText("M1.."), kSuccess);
    EXPECT_EQ(port.writeByte('\r'), kSuccess);
    const std::string binary("a\nb\r\n\0\xB0", 7);
    std::size_t written = 0;
    EXPECT_EQ(port.write(binary.data(), binary.size(), &written), kSuccess);
    EXPECT_EQ(written, binary.size());
    EXPECT_EQ(pty.receive(), "M1..\r" + binary);
}

TEST_F(ComPortTest, WriteThatCannotFinishGivesUpAfter100ms)
{
    // Nobody reads the master, so the pseudo-terminal's buffers fill up.
    const std::string big(1 << 20, 'x');
    std::size_t written = 0;
    const auto start = Clock::now();
    EXPECT_EQ(port.write(big.data(), big.size(), &written), kTimeout);
    const long ms = elapsedMs(start);
    EXPECT_GE(ms, 90);
    EXPECT_LT(ms, 1000);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, big.size());
}

TEST_F(ComPortTest, ReadKinds)
{
    char buffer[8] = {};
    std::size_t got = 99;
    EXPECT_EQ(port.read(buffer, sizeof buffer, &got), kSuccess); // non-blocking, nothing there
    EXPECT_EQ(got, 0u);

    pty.send("abc");
    ASSERT_EQ(port.waitEvent(1000), kSuccess);
    EXPECT_EQ(port.takeEvents(), ComEvent::kRxChar);
    EXPECT_EQ(port.takeEvents(), 0xFFFFFFFFu);
    EXPECT_EQ(port.read(buffer, sizeof buffer, &got), kSuccess);
    EXPECT_EQ(std::string(buffer, got), "abc");

    ASSERT_EQ(port.setReadTimeouts(CComPort::kReadBlocking), kSuccess);
    pty.send("de");
    const auto start = Clock::now();
    EXPECT_EQ(port.read(buffer, 4, &got), kTimeout); // waits at most 100 ms for the rest
    EXPECT_LT(elapsedMs(start), 1000);
    EXPECT_EQ(std::string(buffer, got), "de");
    EXPECT_EQ(port.waitEvent(50), kTimeout);
}

TEST_F(ComPortTest, PurgeDiscardsQueuedBytes)
{
    pty.send("stale bytes");
    ASSERT_EQ(port.waitEvent(1000), kSuccess);
    EXPECT_EQ(port.purge(), kSuccess);
    char buffer[32];
    std::size_t got = 99;
    EXPECT_EQ(port.read(buffer, sizeof buffer, &got), kSuccess);
    EXPECT_EQ(got, 0u);
    pty.send("fresh");
    ASSERT_EQ(port.waitEvent(1000), kSuccess);
    EXPECT_EQ(port.read(buffer, sizeof buffer, &got), kSuccess);
    EXPECT_EQ(std::string(buffer, got), "fresh");
}

TEST_F(ComPortTest, BreakTakesItsTimeAndSucceeds)
{
    const auto start = Clock::now();
    EXPECT_EQ(port.sendBreak(20), kSuccess);
    EXPECT_GE(elapsedMs(start), 19);
    EXPECT_EQ(port.setBreak(), kSuccess);
    EXPECT_EQ(port.clearBreak(), kSuccess);
}

TEST_F(ComPortTest, HangUpIsAnErrorNotData)
{
    pty.hangUp();
    char buffer[4];
    std::size_t got = 0;
    EXPECT_EQ(port.read(buffer, sizeof buffer, &got), EIO);
    EXPECT_EQ(port.writeText("x"), EIO);
    ASSERT_EQ(port.waitEvent(1000), kSuccess);
    EXPECT_NE(port.takeEvents() & ComEvent::kError, 0u);
}

} // namespace
