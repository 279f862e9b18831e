#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "serial/ComPortObj.h"
#include "tests/serial/PtyPair.h"

namespace {

using namespace ComResult;
using Strings = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

class ComPortWndTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        port.setReceiveEnabled(true);
        ASSERT_EQ(port.openWithObject(pty.slavePath(), &target), kSuccess);
        ASSERT_TRUE(port.readerRunning());
    }

    // The frame's part of the handshake for the next n lines: take each line, then enable
    // reception again.
    Strings receiveLines(std::size_t n)
    {
        Strings got;
        for (const std::size_t end = seen + n; seen < end; ++seen) {
            if (!target.waitLines(seen + 1))
                break;
            got.push_back(target.lines().at(seen));
            EXPECT_FALSE(port.receiveEnabled()) << "cleared by the reader before handing over";
            port.setReceiveEnabled(true);
        }
        return got;
    }

    PtyPair pty;
    CLineCollector target;
    CComPortObj port;
    std::size_t seen = 0;
};

TEST_F(ComPortWndTest, NormalModeEndsLinesAtCarriageReturnOnly)
{
    pty.send("Vavizi232&m/s&\rab\nc:d\r");
    EXPECT_EQ(receiveLines(2), (Strings{"Vavizi232&m/s&\r", "ab\nc:d\r"}));
    EXPECT_EQ(target.watchdogStops(), 0);
}

TEST_F(ComPortWndTest, DialogueModeEndsLinesAtLineFeedOrColon)
{
    port.setDialogue(true);
    pty.send("\r\nSET-UP\r\nChoice:1\r?\r\n");
    EXPECT_EQ(receiveLines(4), (Strings{"\r\n", "SET-UP\r\n", "Choice:", "1\r?\r\n"}));
    EXPECT_EQ(target.watchdogStops(), 4);
    port.setDialogue(false);
    pty.send("x:y\n\r");
    EXPECT_EQ(receiveLines(1), Strings{"x:y\n\r"});
}

TEST_F(ComPortWndTest, BytesStayQueuedWhileReceptionIsDisabled)
{
    pty.send("one\rtwo\r");
    ASSERT_TRUE(target.waitLines(1));
    pause(150);
    EXPECT_EQ(target.lines(), Strings{"one\r"}) << "no byte is read until reception is enabled";

    pty.send("three\r");
    pause(50);
    EXPECT_EQ(target.lines().size(), 1u);
    port.setReceiveEnabled(true);
    ASSERT_TRUE(target.waitLines(2));
    port.setReceiveEnabled(true);
    ASSERT_TRUE(target.waitLines(3));
    EXPECT_EQ(target.lines(), (Strings{"one\r", "two\r", "three\r"}));

    // Disabled before anything arrives: the bytes wait in the driver.
    port.setReceiveEnabled(false);
    pty.send("four\r");
    pause(150);
    EXPECT_EQ(target.lines().size(), 3u);
    port.setReceiveEnabled(true);
    ASSERT_TRUE(target.waitLines(4));
    EXPECT_EQ(target.lines().back(), "four\r");
}

TEST_F(ComPortWndTest, LineLengthIsTestedBeforeTheTerminator)
{
    struct Case {
        std::size_t textLength; // before the carriage return
        bool delivered;
    };
    const Case cases[] = {{253, true}, {254, true}, {255, false}, {400, false}};
    int expectedDisconnects = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.textLength);
        const std::string line = std::string(c.textLength, 'a') + "\r";
        pty.send(line + "next\r");
        expectedDisconnects += c.delivered ? 0 : 1;
        if (c.delivered)
            EXPECT_EQ(receiveLines(2), (Strings{line, "next\r"}));
        else
            EXPECT_EQ(receiveLines(1), Strings{"next\r"}) << "the rest of the line is dropped";
        EXPECT_EQ(target.disconnects(), expectedDisconnects) << "one request per over-long line";
    }
}

TEST_F(ComPortWndTest, ClearLineBufferDropsAPartialLine)
{
    pty.send("stale part");
    ASSERT_TRUE(pty.waitDrained()) << "the reader holds the partial line";
    port.clearLineBuffer();
    pty.send("D1 reply\r");
    EXPECT_EQ(receiveLines(1), Strings{"D1 reply\r"});
}

TEST_F(ComPortWndTest, WritesWhileTheReaderWaits)
{
    EXPECT_EQ(port.purge(), kSuccess);
    EXPECT_EQ(port.sendBreak(), kSuccess);
    EXPECT_EQ(port.writeText("D1.."), kSuccess);
    EXPECT_EQ(pty.receive(), "D1..");
    pty.send("Dirado485&km/h&\r");
    EXPECT_EQ(receiveLines(1), Strings{"Dirado485&km/h&\r"});
}

TEST_F(ComPortWndTest, HangUpAsksForOneDisconnectAndEndsTheReader)
{
    pty.send("last\r");
    ASSERT_TRUE(target.waitLines(1));
    port.setReceiveEnabled(true);
    pty.hangUp();
    ASSERT_TRUE(target.waitDisconnects(1));
    for (int i = 0; i < 100 && port.readerRunning(); ++i)
        pause(10);
    EXPECT_FALSE(port.readerRunning());
    pause(100);
    EXPECT_EQ(target.disconnects(), 1);
    EXPECT_TRUE(port.isOpen()) << "the frame closes the port";
    EXPECT_EQ(port.close(), kSuccess);
}

TEST_F(ComPortWndTest, HangUpIsNoticedWhileReceptionIsDisabled)
{
    port.setReceiveEnabled(false);
    pty.send("waiting\r");
    pause(50);
    pty.hangUp();
    ASSERT_TRUE(target.waitDisconnects(1));
    pause(100);
    EXPECT_EQ(target.disconnects(), 1);
    EXPECT_TRUE(target.lines().empty());
}

TEST_F(ComPortWndTest, CloseWhileTheReaderWaitsIsQuick)
{
    for (const bool receiving : {true, false}) {
        SCOPED_TRACE(receiving);
        port.setReceiveEnabled(receiving);
        pause(50);
        const auto start = Clock::now();
        EXPECT_EQ(port.close(), kSuccess);
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000));
        EXPECT_FALSE(port.readerRunning());
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(target.disconnects(), 0) << "closing is no line failure";
        ASSERT_EQ(port.openWithObject(pty.slavePath(), &target), kSuccess);
    }
    EXPECT_EQ(port.openWithObject(pty.slavePath(), &target), kAlreadyInitialized);
    EXPECT_TRUE(port.readerRunning());
    port.setReceiveEnabled(true);
    pty.send("after reopen\r");
    EXPECT_EQ(receiveLines(1), Strings{"after reopen\r"});
}

TEST(ComPortWndOpenTest, WithoutTargetLinesAreDroppedAndReadingGoesOn)
{
    PtyPair pty;
    CComPortObj port;
    port.setReceiveEnabled(true);
    ASSERT_EQ(port.openWithObject(pty.slavePath(), nullptr), kSuccess);
    pty.send("one\rtwo\r");
    pause(100);
    EXPECT_TRUE(port.receiveEnabled());
    EXPECT_EQ(CComPortObj().openWithObject("/nonexistent/tty", nullptr), ENOENT);
}

TEST_F(ComPortWndTest, IdleReaderUsesNoCpu)
{
    // A reader that spins would burn about the whole interval; a sleeping one almost nothing.
    const auto cpuDuring = [](int ms) {
        const double before = processCpuMs();
        pause(ms);
        return processCpuMs() - before;
    };
    EXPECT_LT(cpuDuring(300), 30.0) << "open port, no traffic";

    pty.send("reply\rwaiting bytes");
    ASSERT_TRUE(target.waitLines(1));
    EXPECT_LT(cpuDuring(300), 30.0) << "reception disabled with bytes waiting";
}

} // namespace
