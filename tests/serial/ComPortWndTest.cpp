#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "serial/ComPortObj.h"
#include "tests/serial/PtyPair.h"

namespace {

using namespace ComResult;
using Strings = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

// The lines of bytes, each with its carriage return.
Strings splitLines(const std::string& bytes)
{
    Strings lines;
    for (std::size_t start = 0, end; (end = bytes.find('\r', start)) != std::string::npos;
         start = end + 1)
        lines.push_back(bytes.substr(start, end + 1 - start));
    return lines;
}

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
    EXPECT_EQ(target.watchdogGenerations(), target.generations()) << "stamped like their lines";
    port.setDialogue(false);
    pty.send("x:y\n\r");
    EXPECT_EQ(receiveLines(1), Strings{"x:y\n\r"});
}

TEST_F(ComPortWndTest, BytesStayQueuedWhileReceptionIsDisabled)
{
    pty.send("one\rtwo\r");
    ASSERT_TRUE(target.waitLines(1));
    pause(150);
    EXPECT_EQ(target.lines(), Strings{"one\r"}) << "no line is handed over until reception is enabled";

    pty.send("three\r");
    pause(50);
    EXPECT_EQ(target.lines().size(), 1u);
    port.setReceiveEnabled(true);
    ASSERT_TRUE(target.waitLines(2));
    port.setReceiveEnabled(true);
    ASSERT_TRUE(target.waitLines(3));
    EXPECT_EQ(target.lines(), (Strings{"one\r", "two\r", "three\r"}));

    // Disabled before anything arrives: the bytes wait.
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

// What purge and clearLineBuffer leave of a line in progress: a line whose start they forget
// is dropped up to its end, so the next line to arrive is a whole one.
TEST(ComPortWndForgetTest, ACutLineIsDroppedWholeAndTheNextOneKept)
{
    enum Step { Clear, Purge };
    struct Case {
        bool dialogue;
        bool receiving; // whether the reader assembles the first bytes or they wait for the frame
        const char* before;
        Step step;
        const char* after;
        Strings expected; // the first lines that come after the step
    };
    const Case cases[] = {
        // A partial line cleared, then its rest.
        {false, true, "stale part", Clear, " continues\rD1 reply\r", {"D1 reply\r"}},
        // A purge forgets a partial line whether the reader has assembled it or not.
        {false, true, "abc", Purge, "def\rD1 reply\r", {"D1 reply\r"}},
        {false, false, "abc", Purge, "def\rD1 reply\r", {"D1 reply\r"}},
        // The bytes a purge drops end mid-line, or at a line end.
        {false, false, "one\rtw", Purge, "o\rD1 reply\r", {"D1 reply\r"}},
        {false, false, "one\r", Purge, "D1 reply\r", {"D1 reply\r"}},
        // Dialogue mode: a whole data line cleared, or a data line cut.
        {true, true, "data line\r", Clear, "MENU\r\n", {"MENU\r\n"}},
        {true, true, "data li", Clear, "ne\rMENU\r\nChoice:", {"MENU\r\n", "Choice:"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.step == Clear ? "clear after " : "purge after ") << c.before);
        PtyPair pty;
        CLineCollector target;
        CComPortObj port;
        port.setDialogue(c.dialogue);
        port.setReceiveEnabled(c.receiving);
        ASSERT_EQ(port.openWithObject(pty.slavePath(), &target), kSuccess);
        pty.send(c.before);
        ASSERT_TRUE(pty.waitDrained());
        if (c.step == Clear)
            port.clearLineBuffer();
        else
            EXPECT_EQ(port.purge(), kSuccess);
        const unsigned generation = port.generation();
        port.setReceiveEnabled(true);
        pty.send(c.after);
        Strings got;
        for (std::size_t i = 0; i < c.expected.size() && target.waitLines(i + 1); ++i) {
            got.push_back(target.lines().at(i));
            EXPECT_EQ(target.generations().at(i), generation);
            port.setReceiveEnabled(true);
        }
        EXPECT_EQ(got, c.expected);
    }
}

// The window thread handles a line some time after the reader completed it; a purge meanwhile
// must make it stale, so the line carries the generation of its completion, not of its handling.
TEST_F(ComPortWndTest, LinesCarryTheGenerationOfTheirCompletion)
{
    pty.send("first\r");
    ASSERT_TRUE(target.waitLines(1));
    EXPECT_EQ(target.generations().at(0), port.generation());
    EXPECT_EQ(port.purge(), kSuccess);
    EXPECT_NE(target.generations().at(0), port.generation()) << "handled after the purge";

    const unsigned beforeClear = port.generation();
    port.clearLineBuffer();
    EXPECT_NE(port.generation(), beforeClear);
    port.setReceiveEnabled(true);
    pty.send("second\r");
    ASSERT_TRUE(target.waitLines(2));
    EXPECT_EQ(target.generations().at(1), port.generation());

    // A line of a port since closed and opened again is stale too.
    ASSERT_EQ(port.close(), kSuccess);
    ASSERT_EQ(port.openWithObject(pty.slavePath(), &target), kSuccess);
    EXPECT_NE(target.generations().at(1), port.generation());
}

// A disconnect request of an earlier search attempt must not end the next one: each request
// carries the session of the port that made it.
TEST_F(ComPortWndTest, DisconnectRequestsCarryTheSessionOfTheirPort)
{
    pty.send(std::string(300, 'x') + "\r");
    ASSERT_TRUE(target.waitDisconnects(1));
    const unsigned first = port.session();
    EXPECT_EQ(target.disconnectSessions().at(0), first);
    EXPECT_EQ(port.purge(), kSuccess);
    EXPECT_EQ(port.session(), first) << "a purge does not end the session";

    ASSERT_EQ(port.close(), kSuccess);
    ASSERT_EQ(port.openWithObject(pty.slavePath(), &target), kSuccess);
    EXPECT_NE(port.session(), first);
    pty.hangUp();
    ASSERT_TRUE(target.waitDisconnects(2));
    EXPECT_EQ(target.disconnectSessions().at(1), port.session());
}

// A line arrives a byte at a time (a slow wire) or all at once (a fast one, or a backlog the
// reader works through), while the window thread purges and empties the line buffer (the send
// step) at a different moment each round. Whatever the moment, what the port hands over with the
// new generation is whole lines: the line in flight, when it started after the purge, and the
// reply sent after it; never a piece of either, and never a byte of the old line before the reply.
TEST(ComPortWndRaceTest, APurgeAgainstALineInFlightLeavesNoFragment)
{
    const std::string inFlight = "OLD" + std::string(40, '.') + "\r";
    const std::string reply = "Vavizi232&m/s&\r";
    PtyPair pty;
    CLineCollector target;
    CComPortObj port;
    target.onLine([&] { port.setReceiveEnabled(true); }); // a frame that handles lines at once
    port.setReceiveEnabled(true);
    ASSERT_EQ(port.openWithObject(pty.slavePath(), &target), kSuccess);
    for (int round = 0; round < 32; ++round) {
        const bool paced = round % 2 == 0;
        SCOPED_TRACE(testing::Message() << (paced ? "paced" : "burst") << " round " << round);
        const std::size_t seen = target.lines().size();
        std::thread wire([&] {
            if (!paced) {
                pty.send(inFlight);
                return;
            }
            for (const char byte : inFlight) {
                pty.send(std::string(1, byte));
                std::this_thread::sleep_for(std::chrono::microseconds(500));
            }
        });
        std::this_thread::sleep_for(std::chrono::microseconds(paced ? round * 700 : round * 50));
        EXPECT_EQ(port.purge(), kSuccess);
        port.clearLineBuffer();
        const unsigned generation = port.generation();
        wire.join();
        pty.send(reply);

        std::size_t count = seen;
        while (target.waitLines(count + 1, 5000) && target.lines().at(count) != reply)
            ++count;
        const Strings lines = target.lines();
        const std::vector<unsigned> generations = target.generations();
        ASSERT_LT(count, lines.size()) << "the reply never came";
        EXPECT_EQ(generations.at(count), generation);
        for (std::size_t i = seen; i < count; ++i) {
            EXPECT_EQ(lines[i], inFlight) << "a piece of the line in flight";
        }
    }
}

// A frame that takes no line for a long time: the reader takes in up to 1 MiB and then leaves the
// rest in the driver without spinning (the wire stalls); once lines are taken again every one
// arrives whole and in order. A purge of more than 64 KiB flushes the rest unread and skips the
// line it cut. The limits are crossed for real, by over a megabyte through the pseudo-terminal.
TEST(ComPortWndFloodTest, BacklogsBeyondTheLimitsStayWholeWithoutSpinning)
{
    struct Case {
        const char* name;
        std::size_t lines; // of 100 bytes
        bool purge;
    };
    const Case cases[] = {{"full 1 MiB buffer", 11000, false}, {"purge of 100 KiB", 1000, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PtyPair pty;
        CLineCollector target;
        CComPortObj port;
        ASSERT_EQ(port.openWithObject(pty.slavePath(), &target), kSuccess);
        std::string wire;
        for (std::size_t i = 0; i < c.lines; ++i) {
            std::string number = std::to_string(i);
            wire += std::string(6 - number.size(), '0') + number + std::string(93, '.') + "\r";
        }
        std::thread sender([&] { pty.send(wire); });
        pause(500);
        const double before = processCpuMs();
        pause(300);
        EXPECT_LT(processCpuMs() - before, 30.0) << "no spin while the backlog waits";
        const std::string after = "rest of a cut line\rD1 reply\r";
        if (c.purge) {
            sender.join();
            ASSERT_TRUE(pty.waitDrained());
            EXPECT_EQ(port.purge(), kSuccess);
            pty.send(after);
        }
        target.onLine([&] { port.setReceiveEnabled(true); });
        port.setReceiveEnabled(true);
        const std::size_t expected = c.purge ? 1 : c.lines;
        ASSERT_TRUE(target.waitLines(expected, 20000)) << target.lines().size();
        if (!c.purge)
            sender.join();
        const Strings lines = target.lines();
        EXPECT_EQ(lines, c.purge ? Strings{"D1 reply\r"} : splitLines(wire));
    }
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

// The frame is still busy with an earlier line when the line hangs up, which makes the driver
// forget what it holds: the lines that had arrived are not lost with it but handed over at once,
// in order, before the one disconnect request; a piece of a line is dropped.
TEST_F(ComPortWndTest, LinesThatArrivedBeforeAHangUpReachTheFrameWhileItIsBusy)
{
    port.setReceiveEnabled(false);
    pty.send("first\rsecond\rpie");
    pause(50);
    pty.hangUp();
    ASSERT_TRUE(target.waitDisconnects(1));
    EXPECT_EQ(target.lines(), (Strings{"first\r", "second\r"}));
    pause(100);
    EXPECT_EQ(target.disconnects(), 1);
    EXPECT_EQ(target.lines().size(), 2u);
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
