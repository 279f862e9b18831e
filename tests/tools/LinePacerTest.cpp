#include <gtest/gtest.h>

#include "tools/va7310-sim/LinePacer.h"

namespace {

using namespace std::chrono_literals;
using Fate = CLinePacer::Fate;
const CLinePacer::Clock::time_point t0{};

TEST(LinePacerTest, CharacterTimeCountsStartDataParityAndStopBits)
{
    struct Case {
        int baud;
        int dataBits;
        bool parity;
        int stopBits;
        long long ns;
    };
    const Case cases[] = {
        {9600, 8, false, 2, 1145833}, // the program's line: 105 characters take 120 ms
        {9600, 8, false, 1, 1041666}, {9600, 7, true, 1, 1041666},
        {115200, 8, false, 2, 95486}, {0, 8, false, 2, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CLinePacer::characterTime(c.baud, c.dataBits, c.parity, c.stopBits).count(), c.ns)
            << c.baud << " " << c.dataBits << (c.parity ? "E" : "N") << c.stopBits;
}

// A receiver that records what reaches it, and may refuse bytes as a full buffer does.
struct Wire {
    std::string received;
    std::size_t room = std::string::npos;
    CLinePacer::Writer writer()
    {
        return [this](std::string_view bytes) {
            const std::size_t taken = std::min(bytes.size(), room);
            received.append(bytes.substr(0, taken));
            if (room != std::string::npos)
                room -= taken;
            return taken;
        };
    }
};

TEST(LinePacerTest, CharactersGoOutOneCharacterTimeApartAndLinesBackToBack)
{
    CLinePacer pacer;
    Wire wire;
    pacer.setCharacterTime(1ms);
    pacer.queue("abc\r", t0);
    pacer.queue("de\r", t0 + 1ms); // queued while the first goes out: sent right after it
    EXPECT_TRUE(pacer.transmit(t0 + 999us, wire.writer()).empty());
    EXPECT_EQ(wire.received, "");
    EXPECT_EQ(pacer.nextDue(), t0 + 1ms);
    EXPECT_TRUE(pacer.transmit(t0 + 2500us, wire.writer()).empty());
    EXPECT_EQ(wire.received, "ab") << "a character arrives once its last bit has";
    const auto first = pacer.transmit(t0 + 4ms, wire.writer());
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].line, "abc\r");
    EXPECT_EQ(first[0].fate, Fate::Whole);
    EXPECT_EQ(pacer.nextDue(), t0 + 5ms);
    EXPECT_EQ(pacer.transmit(t0 + 7ms, wire.writer()).size(), 1u);
    EXPECT_EQ(wire.received, "abc\rde\r");
    EXPECT_TRUE(pacer.idle());
    EXPECT_EQ(pacer.nextDue(), CLinePacer::Clock::time_point::max());

    // An idle wire starts when the line is queued, not where the last one ended.
    pacer.queue("xy\r", t0 + 100ms);
    EXPECT_TRUE(pacer.transmit(t0 + 101ms, wire.writer()).empty());
    EXPECT_EQ(wire.received.back(), 'x');
    EXPECT_EQ(pacer.lines(), 1u);
}

// A simulator woken late sends no faster than the wire: a stall delays the rest of the line.
TEST(LinePacerTest, ALateWakeUpDoesNotCompressTheLine)
{
    CLinePacer pacer;
    Wire wire;
    pacer.setCharacterTime(1ms);
    pacer.queue("0123456789\r", t0);
    EXPECT_TRUE(pacer.transmit(t0 + 50ms, wire.writer()).empty());
    EXPECT_EQ(wire.received, "012") << "at most 3 ms of wire time at once";
    EXPECT_EQ(pacer.nextDue(), t0 + 51ms);
    EXPECT_TRUE(pacer.transmit(t0 + 53ms, wire.writer()).empty());
    EXPECT_EQ(wire.received, "012345");
    EXPECT_TRUE(pacer.transmit(t0 + 60ms, wire.writer()).empty()) << "another stall";
    EXPECT_EQ(wire.received, "012345678");
    EXPECT_EQ(pacer.transmit(t0 + 62ms, wire.writer()).size(), 1u);
    EXPECT_EQ(wire.received, "0123456789\r");
}

TEST(LinePacerTest, InstantLinesRefusedBytesAndHangUps)
{
    CLinePacer pacer;
    Wire wire;
    pacer.queue("one\r", t0);
    pacer.queue("two\r", t0);
    pacer.queue("th", t0, true);
    wire.room = 6;
    const auto sent = pacer.transmit(t0, wire.writer());
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].fate, Fate::Whole);
    EXPECT_EQ(sent[1].fate, Fate::Dropped) << "the receiver overran";
    EXPECT_EQ(sent[2].line, "th");
    EXPECT_EQ(sent[2].fate, Fate::HungUp);
    EXPECT_EQ(wire.received, "one\rtw");
    EXPECT_TRUE(pacer.idle());
}

} // namespace
