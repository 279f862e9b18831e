// The engine in data mode and in the set-up menu dialogue, driven by a fake timeline.
#include <gtest/gtest.h>

#include "tests/protocol/ProtocolFakes.h"

namespace pt = protocol_timer;

namespace {

std::vector<std::string> callsSince(const CFakePort& port, std::size_t from)
{
    return {port.calls.begin() + static_cast<std::ptrdiff_t>(from), port.calls.end()};
}

std::string measureReply(const std::string& data) { return "IIIIM1I&" + data + "&\r"; }

// Lets time pass until the next "M" goes out; time then stands at that send.
void pollOnce(CProtocolRig& rig)
{
    std::size_t writes = rig.port.writes().size();
    for (int step = 0; step < 200 && rig.port.writes().size() == writes; ++step)
        rig.time.advance(10);
    ASSERT_EQ(rig.port.writes().size(), writes + 1);
    ASSERT_EQ(rig.port.writes().back(), "M1..");
}

void expectClosed(const CProtocolRig& rig)
{
    EXPECT_FALSE(rig.engine.portOpen());
    EXPECT_FALSE(rig.port.isOpen);
    EXPECT_EQ(rig.frame.paneTexts.back(), "Disconnected");
    EXPECT_EQ(rig.frame.colour, link_colour::kYellow);
    EXPECT_EQ(rig.frame.disabledColour, link_colour::kYellowDisabled);
    for (int id : {pt::kSend, pt::kReply, pt::kWatchdog, pt::kPoll})
        EXPECT_FALSE(rig.time.running(id)) << id;
    EXPECT_TRUE(rig.engine.queue().empty());
    EXPECT_TRUE(rig.engine.canAutodetect());
    EXPECT_EQ(rig.view.leds.back(), IProtocolView::kLedOff);
    EXPECT_FALSE(rig.view.rec);
}

} // namespace

TEST(ProtocolEngineTest, Rs485PollIsFramedWithABreakFirst)
{
    CProtocolRig rig;
    rig.connect("Dirado485");
    EXPECT_EQ(rig.frame.paneTexts.back(), "Connected to COM1 RS485 9600 8,N,2");
    EXPECT_EQ(rig.frame.colour, link_colour::kGreen);
    EXPECT_EQ(rig.frame.disabledColour, link_colour::kGreenDisabled);
    EXPECT_EQ(rig.view.layouts, std::vector<int>{IProtocolView::kLayoutData});

    std::size_t mark = rig.port.calls.size();
    rig.time.advance(999);
    EXPECT_TRUE(callsSince(rig.port, mark).empty());
    rig.time.advance(1); // the poll timer queues "M", the send timer sends it
    EXPECT_EQ(callsSince(rig.port, mark),
              (std::vector<std::string>{"purge", "clear", "break", "write M1.."}));
    EXPECT_EQ(rig.time.period(pt::kReply), 2000);
    EXPECT_FALSE(rig.engine.sendEnable());
}

TEST(ProtocolEngineTest, Rs485RhythmFillsTheTableAndRecordsEveryRow)
{
    CProtocolRig rig;
    CFakeInstrument instrument(rig, {.identity = "Dirado485", .replyDelayMs = 30});
    std::vector<std::int64_t> sendTimes;
    auto answer = rig.port.onWrite;
    rig.port.onWrite = [&](const std::string& bytes) {
        sendTimes.push_back(rig.time.now());
        answer(bytes);
    };
    rig.autodetect();
    rig.time.advance(30000);
    ASSERT_TRUE(rig.engine.portOpen());
    ASSERT_GE(sendTimes.size(), 20u);
    // Reply, one second, "M" queued, sent within the next 200 ms.
    for (std::size_t i = 1; i < sendTimes.size(); ++i) {
        EXPECT_GE(sendTimes[i] - sendTimes[i - 1], 30 + 1000) << i;
        EXPECT_LE(sendTimes[i] - sendTimes[i - 1], 30 + 1000 + 200) << i;
    }
    ASSERT_EQ(rig.view.rows.size(), static_cast<std::size_t>(instrument.sent));
    ASSERT_EQ(rig.sink.lines.size(), rig.view.rows.size());
    EXPECT_EQ(rig.sink.lines[3].size(), 104u);
    EXPECT_LE(rig.engine.queue().size(), 1u);
    EXPECT_EQ(rig.undelivered, 0);
    EXPECT_EQ(rig.messages.shown().size(), 2u); // only the two questions of the search
}

TEST(ProtocolEngineTest, DataRowsCarryTimeStampFieldsLedAndScrolling)
{
    CProtocolRig rig;
    rig.connect("Dirado485");
    const std::string data = sampleDataText();
    for (int i = 0; i < 26; ++i) {
        pollOnce(rig);
        rig.deliver(measureReply(data));
    }
    ASSERT_EQ(rig.view.rows.size(), 26u);
    // "M" replies carry a trailing blank after the date.
    EXPECT_EQ(rig.view.rows[0][0], "10:20:31 2024/05/17 ");
    for (int column = 1; column <= 13; ++column)
        EXPECT_EQ(rig.view.rows[0][column], data.substr((column - 1) * 8, 8)) << column;
    // The LED starts lit with the data layout, then every recorded row toggles it, dark first.
    std::vector<int> leds(rig.view.leds.end() - 4, rig.view.leds.end());
    EXPECT_EQ(leds, (std::vector<int>{1, 0, 1, 0}));
    EXPECT_EQ(rig.view.leds[1], IProtocolView::kLedDark);
    // Rows 25 and 26 scroll.
    EXPECT_EQ(rig.view.scrolls, 2);
    EXPECT_EQ(rig.sink.lines, std::vector<std::string>(26, data));

    // A data field of 100 characters fills columns 1-12 and leaves 13 empty.
    pollOnce(rig);
    rig.deliver(measureReply(data.substr(0, 100)));
    EXPECT_EQ(rig.view.rows.back()[12], data.substr(88, 8));
    EXPECT_EQ(rig.view.rows.back()[13], "");
    EXPECT_EQ(rig.sink.lines.back(), data.substr(0, 100)); // the writer drops it
}

TEST(ProtocolEngineTest, RowsAreNotRecordedWhenTheViewIsNotRecording)
{
    CProtocolRig rig;
    rig.connect("Dirado485");
    rig.view.recording = false;
    std::size_t leds = rig.view.leds.size();
    pollOnce(rig);
    rig.deliver(measureReply(sampleDataText()));
    EXPECT_EQ(rig.view.rows.size(), 1u);
    EXPECT_TRUE(rig.sink.lines.empty());
    EXPECT_EQ(rig.view.leds.size(), leds);
}

// Nothing is written, so nothing is purged either: a purge would destroy the line in progress.
TEST(ProtocolEngineTest, Rs232DataModeLeavesThePortAloneAndArmsTheTimeout)
{
    CProtocolRig rig;
    rig.connect("Vavizi232");
    EXPECT_EQ(rig.engine.lineType(), "232");
    std::size_t mark = rig.port.calls.size();
    rig.time.advance(200);
    EXPECT_EQ(callsSince(rig.port, mark), std::vector<std::string>{});
    EXPECT_NE(rig.engine.currentCommand(), nullptr);
    EXPECT_EQ(rig.time.period(pt::kReply), 2000);

    rig.deliver(sampleDataText() + "   \r");
    ASSERT_EQ(rig.view.rows.size(), 1u);
    EXPECT_EQ(rig.view.rows[0][0], "10:20:30 2024/05/17"); // no trailing blank
    EXPECT_EQ(rig.sink.lines, std::vector<std::string>{sampleDataText()});
}

TEST(ProtocolEngineTest, Rs232GapRule)
{
    CProtocolRig rig;
    rig.connect("Vavizi232");
    for (int i = 0; i < 10; ++i) {
        rig.time.advance(1000);
        rig.deliver(sampleDataText() + "\r");
    }
    rig.time.advance(1900);
    rig.deliver(sampleDataText() + "\r");
    EXPECT_TRUE(rig.engine.portOpen());
    EXPECT_EQ(rig.view.rows.size(), 11u);

    rig.time.advance(2199);
    EXPECT_TRUE(rig.engine.portOpen());
    rig.time.advance(1);
    expectClosed(rig);
    EXPECT_TRUE(rig.messages.shown().size() == 2u); // closes silently
}

// The reply time-out counts on when bytes reached the port's reader, not on when the engine got
// to them (a busy window thread): lines the reader holds are handled first, an RS232 link closes
// only after the instrument's own silence, and RS485 keeps its rule of a reply within 2 s.
TEST(ProtocolEngineTest, ReplyTimeoutCountsOnTheReadersArrivalTimes)
{
    struct Case {
        const char* name;
        bool rs485;
        int lastByteMs;    // after the send; -1: none
        int waitingLineMs; // when the line waiting to be handled came; -1: none
        int handledAtMs;   // when the engine gets to that line; -1: never
        int openAtMs;      // the link is still open then
        int closedAtMs;    // and closed then; -1: not checked
        std::size_t recorded;
    };
    const Case cases[] = {
        {"rs232 instrument still sending", false, 1500, -1, -1, 3499, 3500, 0},
        {"rs232 held line handled first", false, 1900, 300, 2425, 4624, 4625, 1},
        {"rs232 silent", false, 0, -1, -1, 1999, 2000, 0},
        {"rs485 reply came in time", true, 1900, 1900, 2100, 3000, -1, 1},
        {"rs485 reply came late", true, 2100, 2100, 2300, 1999, 2000, 0},
        {"rs485 bytes but no line", true, 1900, -1, -1, 1999, 2000, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CProtocolRig rig;
        rig.connect(c.rs485 ? "Dirado485" : "Vavizi232");
        if (c.rs485)
            pollOnce(rig);
        else
            rig.time.advance(200);
        const std::int64_t sent = rig.time.now();
        rig.port.seen = {c.lastByteMs < 0 ? -1 : sent + c.lastByteMs,
                         c.waitingLineMs < 0 ? -1 : sent + c.waitingLineMs};
        if (c.handledAtMs >= 0) {
            rig.deliverAfter(c.handledAtMs, c.rs485 ? measureReply(sampleDataText())
                                                    : sampleDataText() + "\r");
        }
        rig.time.advance(c.openAtMs);
        EXPECT_TRUE(rig.engine.portOpen());
        if (c.closedAtMs >= 0) {
            rig.time.advance(c.closedAtMs - c.openAtMs);
            expectClosed(rig);
        }
        EXPECT_EQ(rig.sink.lines.size(), c.recorded);
    }
}

TEST(ProtocolEngineTest, Rs485SilenceClosesTheLinkAtTheTimeout)
{
    CProtocolRig rig;
    rig.connect("Dirado485");
    pollOnce(rig);
    rig.time.advance(1999);
    EXPECT_TRUE(rig.engine.portOpen());
    rig.time.advance(1);
    expectClosed(rig);
    EXPECT_EQ(rig.engine.lineType(), "");
}

TEST(ProtocolEngineTest, GarbledMeasureReplyIsDroppedAndTheLinkClosesAtTheTimeout)
{
    CProtocolRig rig;
    rig.connect("Dirado485");
    pollOnce(rig);
    rig.time.advance(50);
    rig.deliver("IIIIM1I no ampersand\r");
    EXPECT_TRUE(rig.view.rows.empty());
    EXPECT_TRUE(rig.engine.queue().empty()); // no new "M"
    EXPECT_TRUE(rig.time.running(pt::kSend));
    rig.time.advance(1949);
    EXPECT_TRUE(rig.engine.portOpen());
    rig.time.advance(1);
    expectClosed(rig);
}

TEST(ProtocolEngineTest, UnsolicitedLineIsNotInterpreted)
{
    CProtocolRig rig;
    rig.connect("Dirado485");
    rig.time.advance(300);
    rig.time.killTimer(pt::kSend);
    rig.deliver(measureReply(sampleDataText()));
    EXPECT_TRUE(rig.view.rows.empty());
    EXPECT_TRUE(rig.port.receiveEnable);
    EXPECT_EQ(rig.time.period(pt::kSend), 200);
    EXPECT_EQ(rig.engine.replyText(), measureReply(sampleDataText()));
}

TEST(ProtocolEngineTest, IdentificationSetsTheSpeedUnits)
{
    struct Row {
        const char* reply;
        const char* lineType;
        const char* unit;
    };
    for (Row row : {Row{"Vavizi232&&\r", "232", ""}, Row{"Vavizi232&knots&\r", "232", "knots"},
                    Row{"Dirado485&km/h\r", "485", ""}}) {
        CProtocolRig rig;
        rig.unit.setSpeedUnit("old");
        rig.autodetect();
        rig.time.advance(200);
        rig.deliver(row.reply);
        EXPECT_EQ(rig.engine.linkState(), "OK") << row.reply;
        EXPECT_EQ(rig.engine.lineType(), row.lineType) << row.reply;
        for (Unit::Index index : {Unit::SoW, Unit::SoS, Unit::U, Unit::V, Unit::W, Unit::UV})
            EXPECT_EQ(rig.unit.text(index), row.unit) << row.reply;
        EXPECT_EQ(rig.unit.text(Unit::Pressure), "mbar");
    }
}

TEST(ProtocolEngineTest, QuestionMarkOnRs485OpensTheMenuAfterTheNextMeasure)
{
    CProtocolRig rig;
    rig.engine.requestDialogue(); // nothing found yet: ignored
    EXPECT_FALSE(rig.engine.dialogueRequested());
    rig.connect("Dirado485");
    pollOnce(rig);
    rig.engine.requestDialogue();
    EXPECT_TRUE(rig.engine.dialogueRequested());
    EXPECT_EQ(rig.port.writes().back(), "M1..");
    EXPECT_FALSE(rig.engine.dialogue());

    rig.deliver(measureReply(sampleDataText()));
    EXPECT_EQ(rig.view.rows.size(), 1u); // the reply is shown first
    EXPECT_TRUE(rig.engine.dialogue());
    EXPECT_TRUE(rig.port.dialogueMode);
    EXPECT_FALSE(rig.engine.dialogueRequested());
    std::size_t mark = rig.port.calls.size();
    rig.time.advance(200);
    EXPECT_EQ(callsSince(rig.port, mark),
              (std::vector<std::string>{"purge", "clear", "break", "write S1.."}));

    rig.deliver("VA7310 SETUP MENU\n");
    EXPECT_EQ(rig.view.layouts.back(), -1);
    EXPECT_EQ(rig.view.rows.back()[0], "VA7310 SETUP MENU");
    EXPECT_EQ(rig.time.period(pt::kWatchdog), 10000);
    EXPECT_FALSE(rig.time.running(pt::kReply));
    EXPECT_FALSE(rig.time.running(pt::kPoll));
    EXPECT_EQ(rig.engine.currentCommand(), nullptr);
}

// Sent right after the data line that takes the request, while the wire is quiet.
TEST(ProtocolEngineTest, QuestionMarkOnRs232SendsQuestionMarkWithoutBreak)
{
    CProtocolRig rig;
    rig.connect("Vavizi232");
    rig.time.advance(200);
    rig.engine.requestDialogue();
    std::size_t mark = rig.port.calls.size();
    rig.deliver(sampleDataText() + "\r");
    EXPECT_EQ(callsSince(rig.port, mark),
              (std::vector<std::string>{"purge", "clear", "write ?"}));
    EXPECT_EQ(rig.view.rows.size(), 1u);
    EXPECT_EQ(rig.time.period(pt::kReply), 2000);
    rig.time.advance(200);
    EXPECT_EQ(rig.port.writes().size(), 2u); // the search's "D1.." and the "?"
}

class DialogueTest : public ::testing::Test {
protected:
    // Opens the set-up menu on RS485 after 30 data rows.
    void SetUp() override
    {
        rig.connect("Dirado485");
        for (int i = 0; i < 30; ++i) {
            pollOnce(rig);
            rig.deliver(measureReply(sampleDataText()));
        }
        rig.engine.requestDialogue();
        pollOnce(rig);
        rig.deliver(measureReply(sampleDataText()));
        rig.time.advance(200);
        rig.deliver("  SETUP  \n");
        ASSERT_TRUE(rig.engine.dialogue());
    }

    std::vector<std::string> lastRows(std::size_t count) const
    {
        std::vector<std::string> texts;
        for (std::size_t i = rig.view.rows.size() - count; i < rig.view.rows.size(); ++i)
            texts.push_back(rig.view.rows[i][0]);
        return texts;
    }

    CProtocolRig rig;
};

TEST_F(DialogueTest, NewPromptGetsThreeBlankRowsBelowIt)
{
    rig.deliver("1) Unit\r\n");
    rig.deliver("Select:");
    EXPECT_EQ(lastRows(5), (std::vector<std::string>{"1) Unit", "Select:", " ", " ", " "}));
    rig.deliver("Again:"); // a prompt right after a prompt gets no new blank rows
    EXPECT_EQ(lastRows(2), (std::vector<std::string>{" ", "Again:"}));
    rig.deliver("\n");
    rig.deliver("Value:");
    EXPECT_EQ(lastRows(4), (std::vector<std::string>{"Value:", " ", " ", " "}));

    rig.engine.requestDialogue(); // already in the dialogue: no request
    EXPECT_FALSE(rig.engine.dialogueRequested());
    EXPECT_TRUE(rig.time.running(pt::kWatchdog));
    EXPECT_TRUE(rig.engine.portOpen());
}

TEST_F(DialogueTest, QuestionMarkLineLeavesTheMenuAndResumesPollingAndRecording)
{
    rig.deliver("Bye\n");
    rig.deliver("?\n");
    EXPECT_FALSE(rig.engine.dialogue());
    EXPECT_FALSE(rig.port.dialogueMode);
    EXPECT_TRUE(rig.view.rows.empty());
    // Empty and not recording until the instrument has told its (possibly new) unit.
    EXPECT_EQ(rig.view.layouts.back(), IProtocolView::kLayoutAfterMenu);
    EXPECT_FALSE(rig.view.recording);
    EXPECT_FALSE(rig.time.running(pt::kWatchdog));
    EXPECT_TRUE(rig.engine.sendEnable());

    std::size_t mark = rig.port.calls.size();
    rig.time.advance(200);
    EXPECT_EQ(callsSince(rig.port, mark),
              (std::vector<std::string>{"purge", "clear", "break", "write D1.."}));
    rig.deliver("Dirado485&km/h&\r");
    EXPECT_EQ(rig.view.layouts.back(), IProtocolView::kLayoutData);
    EXPECT_EQ(rig.unit.text(Unit::SoW), "km/h");
    EXPECT_EQ(rig.engine.lineType(), "485");

    std::size_t recorded = rig.sink.lines.size();
    pollOnce(rig);
    rig.deliver(measureReply(sampleDataText()));
    EXPECT_EQ(rig.view.rows.size(), 1u);
    EXPECT_EQ(rig.sink.lines.size(), recorded + 1);
    EXPECT_EQ(rig.view.rows[0][13], sampleDataText().substr(96));
}

TEST_F(DialogueTest, TenSecondsOfSilenceEndTheDialogueByDisconnecting)
{
    rig.time.advance(9999);
    EXPECT_TRUE(rig.engine.portOpen());
    rig.time.advance(1);
    expectClosed(rig);
    EXPECT_FALSE(rig.engine.dialogue());
    EXPECT_FALSE(rig.port.dialogueMode);
}

TEST_F(DialogueTest, EveryLineRestartsTheSilenceWatchdog)
{
    rig.time.advance(9000);
    rig.engine.OnDialogueLineComplete(); // the reader completed a line
    EXPECT_FALSE(rig.time.running(pt::kWatchdog));
    rig.deliver("Option\n");
    rig.time.advance(9999);
    EXPECT_TRUE(rig.engine.portOpen());
    rig.time.advance(1);
    EXPECT_FALSE(rig.engine.portOpen());
}

// On RS232 the instrument streams again as soon as it leaves its menu: data lines may come
// before the answer to the identification, and one that comes in its place costs a try.
TEST(ProtocolEngineTest, LeavingTheMenuOnRs232AsksForTheUnitAgainBeforeRecording)
{
    const std::string line = sampleDataText() + "\r";
    CProtocolRig rig;
    rig.connect("Vavizi232");
    rig.time.advance(200);
    rig.engine.requestDialogue();
    rig.deliver(line);
    rig.time.advance(200);
    rig.deliver("MENU\n");
    rig.deliver("?\r\n");
    ASSERT_FALSE(rig.engine.dialogue());
    const std::size_t rowsBefore = rig.view.rows.size();
    const std::size_t recorded = rig.sink.lines.size();

    rig.time.advance(100);
    rig.deliver(line); // before the identification is sent: shown nowhere, postpones nothing
    std::size_t mark = rig.port.calls.size();
    rig.time.advance(100);
    EXPECT_EQ(callsSince(rig.port, mark),
              (std::vector<std::string>{"purge", "clear", "break", "write D1.."}));
    rig.deliver(line); // in place of the answer
    rig.time.advance(200);
    EXPECT_EQ(rig.port.writes().back(), "D1..");
    EXPECT_EQ(std::count(rig.port.calls.begin() + static_cast<std::ptrdiff_t>(mark),
                         rig.port.calls.end(), "write D1.."),
              2);
    rig.deliver("Vavizi232&knots&\r");
    EXPECT_EQ(rig.view.layouts.back(), IProtocolView::kLayoutData);
    EXPECT_EQ(rig.unit.text(Unit::SoW), "knots");
    EXPECT_EQ(rig.view.rows.size(), rowsBefore);
    EXPECT_EQ(rig.sink.lines.size(), recorded);

    for (int i = 0; i < 3; ++i) {
        rig.time.advance(100);
        rig.deliver(line);
    }
    EXPECT_EQ(rig.view.rows.size(), rowsBefore + 3);
    EXPECT_EQ(rig.sink.lines.size(), recorded + 3);

    // An instrument that never answers its identification closes the link after six tries.
    CProtocolRig mute;
    mute.connect("Vavizi232");
    mute.time.advance(200);
    mute.engine.requestDialogue();
    mute.deliver(line);
    mute.time.advance(200);
    mute.deliver("MENU\n");
    mute.deliver("?\r\n");
    for (int i = 0; i < 6; ++i) {
        mute.time.advance(200);
        mute.deliver(line);
    }
    EXPECT_EQ(std::count(mute.port.calls.begin(), mute.port.calls.end(), "write D1.."), 7);
    mute.time.advance(2200);
    expectClosed(mute);
}

TEST(ProtocolEngineTest, PromptRowRuleHoldsInAShortTable)
{
    CProtocolRig rig;
    rig.connect("Vavizi232");
    rig.time.advance(200);
    rig.engine.requestDialogue();
    rig.deliver(sampleDataText() + "\r");
    rig.time.advance(200);
    rig.deliver("MENU\n");
    rig.deliver("Choice:");
    // Typed characters are echoed into the fourth row from the end: the prompt's own row.
    ASSERT_EQ(rig.view.rows.size(), 6u);
    EXPECT_EQ(rig.view.rows[2][0], "Choice:");
    EXPECT_EQ(rig.view.scrolls, 0);
}

TEST(ProtocolEngineTest, LinesAfterTheLinkClosedAreIgnored)
{
    CProtocolRig rig;
    rig.connect("Dirado485");
    rig.messages.answer(true);
    rig.engine.OnDisconnect();
    expectClosed(rig);
    rig.engine.OnSerialReply(measureReply(sampleDataText()));
    EXPECT_TRUE(rig.view.rows.empty());
    EXPECT_FALSE(rig.time.running(pt::kSend));
    EXPECT_FALSE(rig.port.receiveEnable);
}

TEST(ProtocolEngineTest, DisconnectAndExitAskFirst)
{
    CProtocolRig rig;
    rig.connect("Dirado485");
    pollOnce(rig);
    rig.engine.OnDisconnect(); // the script answers No
    EXPECT_TRUE(rig.engine.portOpen());
    EXPECT_EQ(rig.messages.shown().back(),
              (ShownMessage{"Confirm disconnection ?", MessageIcon::Information, true}));
    EXPECT_FALSE(rig.engine.OnExit());
    EXPECT_EQ(rig.messages.shown().back(), (ShownMessage{"Confirm Exit?", MessageIcon::None, true}));
    EXPECT_TRUE(rig.engine.portOpen());
    EXPECT_FALSE(rig.engine.canAutodetect());

    rig.messages.answer(true);
    EXPECT_TRUE(rig.engine.OnExit());
    expectClosed(rig);
}

TEST(ProtocolEngineTest, CloseLinkDoesNothingUnlessTheLinkIsLocal)
{
    CProtocolRig rig;
    rig.connect("Dirado485");
    rig.config.connMode = -1;
    pollOnce(rig);
    rig.time.advance(2000); // time-out: the link cannot be closed
    EXPECT_TRUE(rig.engine.portOpen());
    EXPECT_TRUE(rig.port.isOpen);
    EXPECT_EQ(rig.frame.paneTexts.back(), "Connected to COM1 RS485 9600 8,N,2");
    rig.time.advance(1000); // the watchdog tried once and does not repeat
    EXPECT_FALSE(rig.time.running(pt::kWatchdog));
}

TEST(ProtocolEngineTest, LineFailureDisconnects)
{
    CProtocolRig rig;
    rig.connect("Vavizi232");
    rig.engine.OnLineFailure();
    expectClosed(rig);
    rig.engine.OnLineFailure(); // a second request changes nothing
    EXPECT_EQ(rig.frame.paneTexts.back(), "Disconnected");
    EXPECT_EQ(rig.messages.shown().size(), 2u);
}

TEST(ProtocolEngineTest, UnknownCommandTypeIsRefused)
{
    CProtocolRig rig;
    rig.engine.AddCommand(1, 99);
    EXPECT_EQ(rig.messages.shown(),
              (std::vector<ShownMessage>{{"Syntax message incorrect", MessageIcon::Exclamation,
                                          false}}));
    EXPECT_TRUE(rig.engine.queue().empty());
}

TEST(ProtocolEngineTest, QueueServesCommandsFirstInFirstOut)
{
    CProtocolRig rig;
    rig.connect("Dirado485");
    rig.time.killTimer(pt::kPoll);
    rig.engine.AddCommand(2, CCommand::Measure);
    rig.engine.AddCommand(3, CCommand::Measure);
    rig.time.advance(200);
    EXPECT_EQ(rig.port.writes().back(), "M2..");
    rig.deliver(measureReply(sampleDataText()));
    rig.time.advance(200);
    EXPECT_EQ(rig.port.writes().back(), "M3..");
    EXPECT_EQ(rig.engine.queue().size(), 1u);
}

// The recording writer may show a message box, which runs other events while a reply is handled.
TEST(ProtocolEngineTest, EventsDuringReplyHandlingAreSafe)
{
    CProtocolRig rig;
    rig.connect("Dirado485");
    pollOnce(rig);
    // A second line handed over meanwhile is not interpreted inside the first.
    rig.sink.duringAppend = [&] { rig.engine.OnSerialReply(measureReply(sampleDataText())); };
    rig.deliver(measureReply(sampleDataText()));
    EXPECT_EQ(rig.view.rows.size(), 1u);
    EXPECT_TRUE(rig.time.running(pt::kPoll));

    // The box stays open past the reply time-out: the link closes under the handler, which
    // then leaves it closed.
    pollOnce(rig);
    rig.sink.duringAppend = [&] { rig.time.advance(3000); };
    rig.deliver(measureReply(sampleDataText()));
    rig.sink.duringAppend = nullptr;
    expectClosed(rig);
    EXPECT_FALSE(rig.port.receiveEnable);
    EXPECT_EQ(rig.view.rows.size(), 2u);
}
