// The autodetect search as an event-driven state machine on the fake timeline.
#include <gtest/gtest.h>

#include "tests/protocol/ProtocolFakes.h"

namespace pt = protocol_timer;

namespace {

std::vector<std::string> allSettings()
{
    std::vector<std::string> settings;
    for (int port = 1; port <= 3; ++port)
        for (int rate : {9600, 19200, 38400, 57600, 115200})
            settings.push_back("COM" + std::to_string(port) + " " + std::to_string(rate) +
                               " 8 0 2");
    return settings;
}

} // namespace

TEST(SearchTest, NothingAttachedVisitsEverySettingOnceThenGivesUp)
{
    CProtocolRig rig;
    rig.autodetect();
    EXPECT_TRUE(rig.engine.searching());
    EXPECT_FALSE(rig.engine.canAutodetect());
    EXPECT_TRUE(rig.engine.canDisconnect());
    rig.time.advance(15 * 2200 - 1);
    EXPECT_TRUE(rig.engine.searching());
    rig.time.advance(1);
    EXPECT_FALSE(rig.engine.searching());

    EXPECT_EQ(rig.port.opens(), allSettings());
    EXPECT_EQ(std::count(rig.port.calls.begin(), rig.port.calls.end(), "open COM4"), 0);
    // Each identification goes out framed, after a break.
    EXPECT_EQ(rig.port.writes(), std::vector<std::string>(15, "D1.."));
    EXPECT_EQ(std::count(rig.port.calls.begin(), rig.port.calls.end(), "break"), 15);
    EXPECT_EQ(rig.messages.shown().back(),
              (ShownMessage{"ERROR: Instrument Not Found", MessageIcon::Stop, false}));
    EXPECT_EQ(rig.frame.paneTexts[0], "Looking for.. COM1 9600 8,N,1");
    EXPECT_EQ(rig.frame.paneTexts.back(), "Disconnected");
    EXPECT_FALSE(rig.engine.portOpen());
    EXPECT_TRUE(rig.engine.canAutodetect());
    EXPECT_TRUE(rig.engine.queue().empty());
    EXPECT_FALSE(rig.time.running(pt::kSend));
    EXPECT_FALSE(rig.frame.waitCursor);

    // Time goes on with nothing happening.
    std::size_t calls = rig.port.calls.size();
    rig.time.advance(60000);
    EXPECT_EQ(rig.port.calls.size(), calls);
}

// A station that names its port or rate narrows the search to them, in the usual order; a
// missing port still skips to the next, and the search gives up after its last setting.
TEST(SearchTest, NarrowedScopeTriesOnlyItsSettings)
{
    struct Row {
        CAutodetect::Scope scope;
        std::set<std::string> missing;
        std::vector<std::string> opens;
    };
    const Row rows[] = {
        {{2, 2, 0}, {}, {"COM2 9600", "COM2 19200", "COM2 38400", "COM2 57600", "COM2 115200"}},
        {{1, 3, 115200}, {}, {"COM1 115200", "COM2 115200", "COM3 115200"}},
        {{1, 3, 57600}, {"COM2"}, {"COM1 57600", "COM3 57600"}},
        {{7, 7, 9600}, {}, {"COM7 9600"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "COM" << row.scope.firstPort << "-COM"
                                        << row.scope.lastPort << " at " << row.scope.baudRate);
        CProtocolRig rig;
        rig.port.missing = row.missing;
        rig.engine.setSearchScope(row.scope);
        rig.autodetect();
        rig.time.advance(20 * 2200);
        EXPECT_FALSE(rig.engine.searching());
        std::vector<std::string> opens;
        for (const std::string& open : rig.port.opens())
            opens.push_back(open.substr(0, open.size() - 6)); // without " 8 0 2"
        EXPECT_EQ(opens, row.opens);
        EXPECT_EQ(rig.messages.texts().back(), "ERROR: Instrument Not Found");
    }
}

TEST(SearchTest, AsksBeforeSearchingAndMayEmptyTheRecordingFile)
{
    CProtocolRig rig;
    rig.engine.OnAutodetect(); // No to the first question
    EXPECT_EQ(rig.messages.texts(),
              std::vector<std::string>{"WARNING: Autodetect program will search the connected "
                                       "instrument.\nThis program will required few seconds.\n"
                                       "Confirm proceeds ?"});
    EXPECT_EQ(rig.messages.shown()[0].icon, MessageIcon::Exclamation);
    EXPECT_FALSE(rig.engine.searching());
    EXPECT_TRUE(rig.port.calls.empty());

    rig.view.appendRow("old row");
    rig.messages.answer(true);
    rig.messages.answer(true);
    rig.engine.OnAutodetect();
    EXPECT_EQ(rig.messages.shown()[2], (ShownMessage{"Do you want to delete recording file ?",
                                                     MessageIcon::Question, true}));
    EXPECT_EQ(rig.sink.emptied, 1);
    EXPECT_TRUE(rig.view.rows.empty());
    EXPECT_TRUE(rig.port.receiveEnable);
    EXPECT_EQ(rig.config.linkPort, 1);
    EXPECT_EQ(rig.config.linkBaudrate, 9600);
}

TEST(SearchTest, FindsRs232InstrumentOnCom2At38400AfterCom1Fails)
{
    CProtocolRig rig;
    rig.port.missing = {"COM1"};
    CFakeInstrument instrument(rig, {.comName = "COM2", .baudRate = 38400,
                                     .identity = "Vavizi232", .streamPeriodMs = 1000});
    rig.autodetect();
    rig.time.advance(10000);
    EXPECT_FALSE(rig.engine.searching());
    ASSERT_TRUE(rig.engine.portOpen());
    EXPECT_EQ(rig.port.opens(), (std::vector<std::string>{"COM2 9600 8 0 2", "COM2 19200 8 0 2",
                                                         "COM2 38400 8 0 2"}));
    // A missing port costs one message and skips its other rates.
    std::vector<std::string> texts = rig.messages.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "ERROR: Unable to open COM1."), 1);
    EXPECT_EQ(rig.messages.shown()[2].icon, MessageIcon::Stop);
    EXPECT_EQ(rig.frame.paneTexts.back(), "Connected to COM2 RS232 38400 8,N,2");
    EXPECT_EQ(rig.config.linkPort, 2);
    EXPECT_EQ(rig.config.linkBaudrate, 38400);

    rig.time.advance(20000);
    EXPECT_TRUE(rig.engine.portOpen());
    EXPECT_GE(rig.view.rows.size(), 20u);
    EXPECT_EQ(rig.sink.lines.size(), rig.view.rows.size());
    EXPECT_EQ(rig.undelivered, 0);
}

// Streamed lines must neither keep the identification from going out nor, once found, go
// unshown when they come faster than the send period.
TEST(SearchTest, FindsFastStreamingRs232InstrumentsAndShowsEveryLine)
{
    struct Row {
        int baudRate;
        int periodMs;
    };
    for (Row row : {Row{115200, 100}, Row{9600, 250}, Row{38400, 50}, Row{19200, 1000}}) {
        SCOPED_TRACE(testing::Message() << row.baudRate << " every " << row.periodMs << " ms");
        CProtocolRig rig;
        // Its lines take no time here, so their phase is set apart from the send timer's.
        CFakeInstrument instrument(rig, {.baudRate = row.baudRate,
                                         .identity = "Vavizi232",
                                         .streamPeriodMs = row.periodMs,
                                         .streamStartMs = 35});
        rig.autodetect();
        for (int step = 0; step < 3000 && rig.engine.searching(); ++step)
            rig.time.advance(10);
        ASSERT_EQ(rig.engine.linkState(), "OK");
        ASSERT_TRUE(rig.engine.portOpen());
        EXPECT_EQ(rig.config.linkBaudrate, row.baudRate);
        const int before = instrument.sent;
        rig.time.advance(5000);
        EXPECT_TRUE(rig.engine.portOpen());
        EXPECT_EQ(static_cast<int>(rig.view.rows.size()), instrument.sent - before);
        EXPECT_EQ(rig.sink.lines.size(), rig.view.rows.size());
        EXPECT_EQ(rig.undelivered, 0);
    }
}

TEST(SearchTest, GarbledAnswersAreAskedSixTimesBeforeTheNextRate)
{
    CProtocolRig rig;
    CFakeInstrument instrument(rig, {.baudRate = 19200, .identity = "Dirado485", .garble = 6});
    rig.autodetect();
    rig.time.advance(2200); // COM1 9600 stays silent
    ASSERT_EQ(rig.port.opens().size(), 2u);
    rig.time.advance(6 * 210);
    EXPECT_EQ(rig.engine.linkState(), "?");
    std::vector<std::string> opens = rig.port.opens();
    ASSERT_EQ(opens.size(), 8u);
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(opens[i], "COM1 19200 8 0 2") << i;
    EXPECT_EQ(opens[7], "COM1 38400 8 0 2");
    // The instrument, at 19200, is no longer asked.
    EXPECT_TRUE(rig.engine.searching());
}

TEST(SearchTest, GarbledThenGoodAnswerIsFound)
{
    CProtocolRig rig;
    CFakeInstrument instrument(rig, {.identity = "Dirado485", .garble = 2});
    rig.autodetect();
    rig.time.advance(1000);
    EXPECT_FALSE(rig.engine.searching());
    EXPECT_EQ(rig.port.opens(), std::vector<std::string>(3, "COM1 9600 8 0 2"));
    EXPECT_EQ(rig.frame.paneTexts.back(), "Connected to COM1 RS485 9600 8,N,2");
    EXPECT_TRUE(rig.time.running(pt::kPoll));
}

TEST(SearchTest, DisconnectDuringTheSearchEndsIt)
{
    CProtocolRig rig;
    rig.autodetect();
    rig.time.advance(3000);
    rig.messages.answer(true);
    rig.engine.OnDisconnect();
    EXPECT_FALSE(rig.engine.searching());
    EXPECT_FALSE(rig.engine.portOpen());
    std::size_t calls = rig.port.calls.size();
    rig.time.advance(60000);
    EXPECT_EQ(rig.port.calls.size(), calls);
    EXPECT_EQ(rig.frame.paneTexts.back(), "Disconnected");
    EXPECT_EQ(rig.messages.texts().back(), "Confirm disconnection ?");
}

TEST(SearchTest, DisconnectWhileAMissingPortIsSkippedEndsIt)
{
    CProtocolRig rig;
    rig.port.missing = {"COM1", "COM2", "COM3"};
    rig.autodetect();
    EXPECT_FALSE(rig.engine.portOpen());
    EXPECT_TRUE(rig.engine.canDisconnect());
    EXPECT_FALSE(rig.engine.canAutodetect());
    rig.messages.answer(true);
    rig.engine.OnDisconnect();
    EXPECT_FALSE(rig.engine.searching());
    EXPECT_TRUE(rig.engine.canAutodetect());
    rig.time.advance(60000);
    EXPECT_EQ(std::count(rig.port.calls.begin(), rig.port.calls.end(), "open COM2"), 0);
}

TEST(SearchTest, ExitDuringTheSearchEndsIt)
{
    CProtocolRig rig;
    rig.autodetect();
    rig.time.advance(5000);
    rig.messages.answer(true);
    EXPECT_TRUE(rig.engine.OnExit());
    std::size_t calls = rig.port.calls.size();
    rig.time.advance(60000);
    EXPECT_EQ(rig.port.calls.size(), calls);
    EXPECT_EQ(rig.messages.texts().back(), "Confirm Exit?");
}

TEST(SearchTest, LineFailureMovesToTheNextSetting)
{
    CProtocolRig rig;
    rig.autodetect();
    rig.time.advance(300);
    rig.engine.OnLineFailure();
    EXPECT_TRUE(rig.engine.searching());
    EXPECT_EQ(rig.port.opens().back(), "COM1 19200 8 0 2");
    EXPECT_EQ(rig.frame.paneTexts.back(), "Looking for.. COM1 19200 8,N,1");
}

TEST(SearchTest, AutodetectIsRefusedWhileSearchingOrConnected)
{
    CProtocolRig rig;
    rig.autodetect();
    std::size_t shown = rig.messages.shown().size();
    rig.engine.OnAutodetect();
    EXPECT_EQ(rig.messages.shown().size(), shown);
    rig.time.advance(200);
    rig.deliver("Dirado485&m/s&\r");
    rig.engine.OnAutodetect();
    EXPECT_EQ(rig.messages.shown().size(), shown);
    EXPECT_TRUE(rig.engine.portOpen());
}

// A modal message box runs the event loop while it is open: timers keep firing. The search
// must still visit its settings in order, one attempt at a time.
class CPumpingMessageBox final : public IMessageBox {
public:
    explicit CPumpingMessageBox(CFakeTimeline& time) : time_(time) {}
    void tell(std::string_view text, MessageIcon) override
    {
        texts.emplace_back(text);
        time_.advance(5000);
    }
    bool askYesNo(std::string_view, MessageIcon) override { return true; }
    std::vector<std::string> texts;

private:
    CFakeTimeline& time_;
};

TEST(SearchTest, MessageBoxThatPumpsEventsDoesNotDisturbTheOrder)
{
    CFakeTimeline time;
    CFakePort port;
    CFakeView view;
    CFakeFrame frame;
    CFakeSink sink;
    CPumpingMessageBox messages(time);
    CConnConfig config;
    config.connMode = 0;
    Unit unit;
    CProtocolEngine engine({time, port, view, frame, sink, time, messages, config, unit});
    time.setTimerHandler([&](int id) { engine.OnTimer(id); });
    port.missing = {"COM1", "COM3"};

    engine.OnAutodetect();
    time.advance(40000);
    EXPECT_FALSE(engine.searching());
    std::vector<std::string> expected = allSettings();
    expected.erase(expected.begin() + 10, expected.end());
    expected.erase(expected.begin(), expected.begin() + 5);
    EXPECT_EQ(port.opens(), expected);
    EXPECT_EQ(messages.texts,
              (std::vector<std::string>{"ERROR: Unable to open COM1.", "ERROR: Unable to open COM3.",
                                        "ERROR: Instrument Not Found"}));
}
