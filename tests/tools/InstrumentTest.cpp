#include <gtest/gtest.h>

#include "tools/va7310-sim/Instrument.h"

namespace {

using Lines = CInstrument::Lines;
using ms = std::chrono::milliseconds;
const CInstrument::Clock::time_point t0{};

SimOptions options232()
{
    return SimOptions{};
}

SimOptions options485()
{
    SimOptions options;
    options.mode = 485;
    return options;
}

bool isDataLine(const std::string& line)
{
    return line.size() == 105 && line.back() == '\r' && line.find('&') == std::string::npos;
}

TEST(InstrumentTest, AnswersFramedCommandsForItsModeAndAddress)
{
    struct Case {
        int mode;
        const char* input;
        const char* reply; // "" for nothing; "DATA" for a data reply
    };
    const Case cases[] = {
        {232, "D1..", "Vavizi232&m/s&\r"},
        {485, "D1..", "Dirado485&m/s&\r"},
        {485, "junk\rD1..", "Dirado485&m/s&\r"},
        {485, "M1..", "DATA"},
        {485, "D2..", ""},
        {485, "D1.", ""},
        {232, "M1..", ""},
        {485, "X1..", ""},
        {485, "?", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.input);
        SimOptions options;
        options.mode = c.mode;
        CInstrument instrument(options, t0);
        const Lines lines = instrument.receive(c.input, t0);
        if (std::string(c.reply).empty()) {
            EXPECT_TRUE(lines.empty());
        } else if (std::string(c.reply) == "DATA") {
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_EQ(lines[0].substr(0, 8), "IIIIM1I&");
            EXPECT_EQ(lines[0].size(), 8u + 104u + 2u);
            EXPECT_EQ(lines[0].substr(112), "&\r");
        } else {
            EXPECT_EQ(lines, Lines{c.reply});
        }
        EXPECT_FALSE(instrument.inMenu());
    }
    SimOptions options = options485();
    options.address = 12;
    options.unit = "knots";
    CInstrument instrument(options, t0);
    EXPECT_EQ(instrument.receive("D", t0), Lines{});
    EXPECT_EQ(instrument.receive("c..", t0), Lines{"Dirado485&knots&\r"}) << "split, lower hex";
}

TEST(InstrumentTest, Rs232StreamsEveryPeriodAndRs485OnlyAnswers)
{
    SimOptions options = options232();
    options.periodMs = 200;
    CInstrument rs232(options, t0);
    EXPECT_EQ(rs232.msUntilDue(t0), 201);
    EXPECT_TRUE(rs232.tick(t0 + ms(199)).empty());
    const Lines first = rs232.tick(t0 + ms(200));
    ASSERT_EQ(first.size(), 1u);
    EXPECT_TRUE(isDataLine(first[0]));
    EXPECT_TRUE(rs232.tick(t0 + ms(300)).empty());
    EXPECT_EQ(rs232.tick(t0 + ms(400)).size(), 1u);

    CInstrument rs485(options485(), t0);
    EXPECT_EQ(rs485.msUntilDue(t0), -1);
    EXPECT_TRUE(rs485.tick(t0 + ms(5000)).empty());
}

// An instrument sampling faster than its line carries keeps one line waiting, no more.
TEST(InstrumentTest, SkipsDataLinesWhileTwoAreStillGoingOut)
{
    SimOptions options = options232();
    options.periodMs = 100;
    CInstrument instrument(options, t0);
    instrument.setLinesWaiting(1);
    EXPECT_EQ(instrument.tick(t0 + ms(100)).size(), 1u);
    instrument.setLinesWaiting(2);
    EXPECT_TRUE(instrument.tick(t0 + ms(200)).empty());
    EXPECT_EQ(instrument.msUntilDue(t0 + ms(200)), 101) << "the next sample keeps its time";
    instrument.setLinesWaiting(0);
    EXPECT_EQ(instrument.tick(t0 + ms(300)).size(), 1u);
}

TEST(InstrumentTest, SaysNothingAtAnotherLineSpeed)
{
    CInstrument instrument(options232(), t0);
    instrument.setLineMatches(false);
    EXPECT_TRUE(instrument.receive("D1..", t0).empty());
    EXPECT_TRUE(instrument.tick(t0 + ms(1000)).empty());
    instrument.setLineMatches(true);
    EXPECT_EQ(instrument.receive("D1..", t0 + ms(1100)), Lines{"Vavizi232&m/s&\r"});
    EXPECT_EQ(instrument.tick(t0 + ms(2000)).size(), 1u) << "the stream goes on on schedule";
}

TEST(InstrumentTest, SetUpMenuAnswersPromptsAndLeavesWithQuestionMark)
{
    CInstrument instrument(options232(), t0);
    const Lines menu = instrument.receive("?", t0);
    ASSERT_GE(menu.size(), 3u);
    EXPECT_EQ(menu.front(), "VA7310 SET-UP MENU\r\n");
    EXPECT_EQ(menu.back(), "Choice:");
    for (std::size_t i = 0; i + 1 < menu.size(); ++i) {
        EXPECT_EQ(menu[i].substr(menu[i].size() - 2), "\r\n");
        EXPECT_EQ(menu[i].find(':'), std::string::npos) << "a colon would end a dialogue line";
    }
    EXPECT_TRUE(instrument.inMenu());
    EXPECT_TRUE(instrument.tick(t0 + ms(5000)).empty()) << "no data while the menu is open";

    EXPECT_EQ(instrument.receive("9\r", t0), (Lines{"Invalid choice\r\n", "Choice:"}));
    EXPECT_EQ(instrument.receive("1", t0), Lines{}) << "an answer waits for its carriage return";
    EXPECT_EQ(instrument.receive("\r", t0).back(), "Unit:");
    EXPECT_EQ(instrument.receive("2\r\n", t0).back(), "Choice:");
    EXPECT_EQ(instrument.unit(), "km/h");
    EXPECT_EQ(instrument.receive("2\r", t0).back(), "Period:");
    instrument.receive("4\r", t0);
    EXPECT_EQ(instrument.periodMs(), 2000);
    EXPECT_EQ(instrument.receive("0\r", t0), Lines{"?\r\n"});
    EXPECT_FALSE(instrument.inMenu());
    EXPECT_EQ(instrument.receive("D1..", t0), Lines{"Vavizi232&km/h&\r"});

    // Escape also leaves; RS485 opens the menu with its framed command.
    CInstrument rs485(options485(), t0);
    EXPECT_EQ(rs485.receive("S1..", t0).back(), "Choice:");
    EXPECT_EQ(rs485.receive("\x1B", t0), Lines{"?\r\n"});
}

TEST(InstrumentTest, ForgottenMenuClosesSilently)
{
    CInstrument instrument(options232(), t0);
    instrument.receive("?", t0);
    instrument.receive("1", t0 + ms(1000));
    EXPECT_EQ(instrument.msUntilDue(t0 + ms(1000)), 60001);
    EXPECT_TRUE(instrument.tick(t0 + ms(60999)).empty());
    EXPECT_TRUE(instrument.inMenu());
    const Lines after = instrument.tick(t0 + ms(61000));
    EXPECT_FALSE(instrument.inMenu());
    ASSERT_EQ(after.size(), 1u) << "no \"?\" line, and the stream resumes at once";
    EXPECT_TRUE(isDataLine(after[0]));
}

TEST(InstrumentTest, FaultsOnDemand)
{
    SimOptions garble = options485();
    garble.garble = 2;
    CInstrument garbling(garble, t0);
    EXPECT_EQ(garbling.receive("D1..", t0), Lines{"Dirado485m/s\r"});
    EXPECT_EQ(garbling.receive("M1..", t0)[0].find('&'), std::string::npos);
    EXPECT_EQ(garbling.receive("D1..", t0), Lines{"Dirado485&m/s&\r"});

    SimOptions silent = options485();
    silent.silentAfter = 2;
    CInstrument quiet(silent, t0);
    EXPECT_EQ(quiet.receive("D1..D1..D1..", t0).size(), 2u);
    EXPECT_TRUE(quiet.receive("M1..", t0).empty());
    EXPECT_FALSE(quiet.hungUp());

    SimOptions longLine = options232();
    longLine.longAfter = 1;
    CInstrument stretching(longLine, t0);
    const Lines lines = stretching.receive("D1..D1..D1..", t0);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].size(), 301u);
    EXPECT_EQ(lines[1].substr(0, 15), "Vavizi232&m/s&X");
    EXPECT_EQ(lines[1].back(), '\r');
    EXPECT_EQ(lines[2], "Vavizi232&m/s&\r");

    SimOptions hangup = options232();
    hangup.hangupAfter = 2;
    hangup.periodMs = 100;
    CInstrument hanging(hangup, t0);
    EXPECT_EQ(hanging.tick(t0 + ms(100)).size(), 1u);
    EXPECT_FALSE(hanging.hungUp());
    EXPECT_EQ(hanging.tick(t0 + ms(200)).size(), 1u);
    EXPECT_TRUE(hanging.hungUp());
    EXPECT_TRUE(hanging.receive("D1..", t0 + ms(250)).empty());
    EXPECT_EQ(hanging.msUntilDue(t0 + ms(250)), -1);

    // The line after the first is cut by the hang-up; the caller sends only its first half.
    SimOptions midLine = options232();
    midLine.hangupMidLine = 1;
    CInstrument cutting(midLine, t0);
    EXPECT_EQ(cutting.receive("D1..", t0).size(), 1u);
    EXPECT_FALSE(cutting.lastLineCut());
    const Lines cut = cutting.receive("D1..", t0);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_TRUE(cutting.lastLineCut());
    EXPECT_TRUE(cutting.hungUp());
    EXPECT_TRUE(cutting.receive("D1..", t0).empty());

    SimOptions markers = options485();
    markers.markersEvery = 2;
    CInstrument marking(markers, t0);
    int marked = 0;
    for (int i = 0; i < 8; ++i) {
        const std::string reply = marking.receive("M1..", t0).at(0);
        const bool hasMarker = reply.find("_err") != std::string::npos ||
                               reply.find("_ofl") != std::string::npos ||
                               reply.find("_und") != std::string::npos ||
                               reply.find("---- --") != std::string::npos;
        EXPECT_EQ(hasMarker, i % 2 == 1) << "reply " << i;
        marked += hasMarker;
        EXPECT_EQ(reply.size(), 114u);
    }
    EXPECT_EQ(marked, 4);
}

} // namespace
