// The recorder's side of the engine on the fake timeline: the pauses between searches, stops,
// the recording file emptied only when asked, and rotation at midnight.
#include <gtest/gtest.h>

#include <memory>

#include "tests/protocol/ProtocolFakes.h"
#include "tests/support/TempDir.h"
#include "tools/record/Recorder.h"
#include "tools/record/RecordingFiles.h"

namespace pt = protocol_timer;

namespace {

using Texts = std::vector<std::string>;

// A recorder with a VA7310 on COM1 at 9600 that streams a line every 500 ms while it is present
// and the port is open at its rate, and answers the identification after 10 ms. Unplugging it
// makes COM1 fail to open and, when the port is open, hangs the line up.
class CRecorderRig {
public:
    // With a daily path, samples go to real daily files there instead of the fake sink.
    explicit CRecorderRig(bool truncate = false, const std::string& dailyPath = "")
    {
        if (!dailyPath.empty())
            files = std::make_unique<CRecordingFiles>(
                dailyPath, true, time,
                [this](std::string_view text) { fileLog.emplace_back(text); });
        port.onWrite = [this](const std::string& bytes) {
            if (present && bytes == "D1.." && port.baudRate == 9600)
                time.at(10, [this] { deliver("Vavizi232&m/s&\r"); });
        };
        recorder = std::make_unique<CRecorder>(
            CRecorder::Services{
                time,
                port,
                files ? static_cast<IRecordingSink&>(*files) : sink,
                time,
                [this](std::string_view text) { log.emplace_back(time.now(), std::string(text)); },
                {}},
            CRecorder::Setup{{1, 1, 9600}, "", truncate});
        time.setTimerHandler([this](int id) { recorder->onTimer(id); });
        time.at(500, [this] { stream(); });
    }

    void unplug()
    {
        present = false;
        port.missing.insert("COM1");
        if (port.isOpen)
            recorder->onLineFailure(); // the reader saw the hang-up
    }
    void plugBack()
    {
        present = true;
        port.missing.clear();
    }

    Texts logTexts() const
    {
        Texts texts;
        for (const auto& entry : log)
            texts.push_back(entry.second);
        return texts;
    }
    // Advances in steps until condition holds; false after limitMs.
    bool advanceUntil(const std::function<bool()>& condition, std::int64_t limitMs)
    {
        for (std::int64_t spent = 0; !condition(); spent += 100) {
            if (spent >= limitMs)
                return false;
            time.advance(100);
        }
        return true;
    }
    std::size_t logCount(const std::string& text) const
    {
        const Texts texts = logTexts();
        return static_cast<std::size_t>(std::count(texts.begin(), texts.end(), text));
    }

    CFakeTimeline time;
    CFakePort port;
    CFakeSink sink;
    std::vector<std::pair<std::int64_t, std::string>> log;
    Texts fileLog;
    std::unique_ptr<CRecordingFiles> files;
    std::unique_ptr<CRecorder> recorder;
    bool present = true;
    bool garbage = false; // streams lines that are no data text
    Texts sent;           // the data texts that reached the recorder in data mode

private:
    int lines_ = 0;

    void deliver(const std::string& line)
    {
        if (!port.isOpen || !port.receiveEnable)
            return;
        port.receiveEnable = false;
        recorder->onSerialReply(line);
    }
    void stream()
    {
        if (present && garbage && port.isOpen && port.baudRate == 9600 && port.receiveEnable) {
            deliver("\x15~#garbage\r");
        } else if (present && port.isOpen && port.baudRate == 9600 && port.receiveEnable) {
            std::string text = sampleDataText();
            text.replace(0, 6, std::to_string(100000 + lines_++));
            // A line during a search answers nothing; once the instrument is identified, every
            // line must be recorded.
            if (recorder->engine().lineType() == "232")
                sent.push_back(text);
            deliver(text + "\r");
        }
        time.at(500, [this] { stream(); });
    }
};

TEST(RecorderTest, SearchesAgainWithGrowingPausesAndAppendsEveryLinkToOneRecording)
{
    CRecorderRig rig;
    rig.recorder->start();
    rig.time.advance(2700);
    ASSERT_EQ(rig.recorder->phase(), CRecorder::Phase::Connected);
    rig.unplug();
    const std::int64_t unplugged = rig.time.now();
    EXPECT_EQ(rig.logTexts(), (Texts{"searching COM1 at 9600 baud",
                                     "found the instrument on COM1: RS232 at 9600 baud",
                                     "lost the link on COM1 after 5 samples", "retrying in 1 s"}));

    // Each search without the instrument fails and doubles the pause, up to a minute.
    ASSERT_TRUE(rig.advanceUntil([&] { return rig.logCount("retrying in 60 s") == 3; }, 400000));
    std::vector<int> pauses;
    for (std::size_t i = 0; i < rig.log.size(); ++i) {
        const auto& [at, text] = rig.log[i];
        if (text.rfind("retrying in ", 0) != 0)
            continue;
        pauses.push_back(std::stoi(text.substr(12)));
        // The next search starts exactly one pause later (its first step opens the port).
        if (i + 1 < rig.log.size()) {
            EXPECT_EQ(rig.log[i + 1].second, "ERROR: Unable to open COM1.");
            EXPECT_EQ(rig.log[i + 1].first - at, pauses.back() * 1000) << text;
        }
    }
    EXPECT_EQ(pauses, (std::vector<int>{1, 2, 4, 8, 16, 32, 60, 60, 60}));
    EXPECT_EQ(rig.logCount("ERROR: Instrument Not Found"), 8u);
    EXPECT_FALSE(rig.port.isOpen); // nothing is held open while waiting

    // Back under the same name: found at the next search; a lost link after samples starts the
    // pauses from 1 s again. Silence ends this link (the engine's reply time-out).
    rig.plugBack();
    const std::string found = "found the instrument on COM1: RS232 at 9600 baud";
    ASSERT_TRUE(rig.advanceUntil([&] { return rig.logCount(found) == 2; }, 70000));
    EXPECT_GE(rig.time.now() - unplugged, 260000);
    rig.time.advance(2000);
    rig.present = false;
    ASSERT_TRUE(rig.advanceUntil([&] { return rig.recorder->phase() == CRecorder::Phase::Waiting; },
                                 10000));
    EXPECT_EQ(rig.logTexts().back(), "retrying in 1 s");
    rig.present = true;
    ASSERT_TRUE(rig.advanceUntil([&] { return rig.logCount(found) == 3; }, 5000));
    rig.time.advance(3000);

    EXPECT_EQ(rig.sink.lines, rig.sent);
    EXPECT_EQ(rig.recorder->samples(), rig.sent.size());
    EXPECT_EQ(rig.sink.emptied, 0);
}

// Garbage keeps the engine's link up (it shows any line) but records nothing: such a link is
// closed after half a minute without a sample and searched again, with growing pauses while
// the links it finds record nothing.
TEST(RecorderTest, LinkThatRecordsNothingIsClosedAndSearchedAgain)
{
    CRecorderRig rig;
    rig.recorder->start();
    rig.time.advance(2700);
    rig.garbage = true;
    const std::int64_t garbageFrom = rig.time.now();
    ASSERT_TRUE(rig.advanceUntil([&] { return rig.logCount("retrying in 1 s") == 1; }, 70000));
    EXPECT_GE(rig.time.now() - garbageFrom, CRecorder::kSampleWatchMs);
    EXPECT_LE(rig.time.now() - garbageFrom, 2 * CRecorder::kSampleWatchMs);
    const Texts log = rig.logTexts();
    EXPECT_EQ(Texts(log.end() - 3, log.end()),
              (Texts{"no sample for 30 s on COM1: closing the link",
                     "lost the link on COM1 after 5 samples", "retrying in 1 s"}));

    ASSERT_TRUE(rig.advanceUntil([&] { return rig.logCount("retrying in 2 s") == 1; }, 70000));
    EXPECT_EQ(rig.logCount("found the instrument on COM1: RS232 at 9600 baud"), 2u);
    EXPECT_EQ(rig.logCount("lost the link on COM1 after 0 samples"), 1u);
    Texts recorded; // what the files would take as lines
    std::copy_if(rig.sink.lines.begin(), rig.sink.lines.end(), std::back_inserter(recorded),
                 [](const std::string& text) { return text.size() == 104; });
    EXPECT_EQ(recorded, rig.sent);
}

TEST(RecorderTest, RecordingFileIsEmptiedOnlyWhenAskedAndOnlyAtTheFirstSearch)
{
    for (bool truncate : {false, true}) {
        SCOPED_TRACE(truncate ? "--truncate" : "append");
        CRecorderRig rig(truncate);
        rig.recorder->start();
        rig.time.advance(2000);
        rig.unplug();
        rig.time.advance(500);
        rig.plugBack();
        ASSERT_TRUE(rig.advanceUntil(
            [&] {
                return rig.logCount("retrying in 1 s") == 1 &&
                       rig.recorder->phase() == CRecorder::Phase::Connected;
            },
            10000));
        EXPECT_EQ(rig.sink.emptied, truncate ? 1 : 0);
    }
}

TEST(RecorderTest, StopClosesThePortAndNothingHappensAfterIt)
{
    struct Row {
        const char* when;
        std::function<void(CRecorderRig&)> reach;
        CRecorder::Phase phase;
    };
    const Row rows[] = {
        {"searching", [](CRecorderRig& rig) { rig.time.advance(100); },
         CRecorder::Phase::Searching},
        {"connected", [](CRecorderRig& rig) { rig.time.advance(3000); },
         CRecorder::Phase::Connected},
        {"waiting",
         [](CRecorderRig& rig) {
             rig.time.advance(3000);
             rig.unplug();
             rig.plugBack();
         },
         CRecorder::Phase::Waiting},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.when);
        CRecorderRig rig;
        rig.recorder->start();
        row.reach(rig);
        ASSERT_EQ(rig.recorder->phase(), row.phase);
        rig.recorder->stop();
        EXPECT_EQ(rig.recorder->phase(), CRecorder::Phase::Stopped);
        EXPECT_FALSE(rig.port.isOpen);
        for (int id : {pt::kSend, pt::kReply, pt::kWatchdog, pt::kPoll, CRecorder::kRetryTimer,
                       CRecorder::kSampleWatchTimer})
            EXPECT_FALSE(rig.time.running(id)) << id;
        EXPECT_EQ(rig.logTexts().back(),
                  "stopped after " + std::to_string(rig.sent.size()) + " samples");
        const std::size_t calls = rig.port.calls.size();
        rig.time.advance(120000);
        EXPECT_EQ(rig.port.calls.size(), calls);
        EXPECT_EQ(rig.sink.lines, rig.sent);
    }
}

TEST(RecorderTest, DailyFilesChangeAtLocalMidnightWithoutLosingASample)
{
    TempDir dir;
    CRecorderRig rig(false, dir.file("mast.ivt"));
    std::tm start{};
    start.tm_year = 124;
    start.tm_mon = 11;
    start.tm_mday = 31;
    start.tm_hour = 23;
    start.tm_min = 59;
    start.tm_sec = 57;
    rig.time.setStart(start);
    rig.recorder->start();
    rig.time.advance(6000);

    const std::string before = readFile(dir.file("mast-20241231.ivt"));
    const std::string after = readFile(dir.file("mast-20250101.ivt"));
    Texts texts;
    for (const auto& [bytes, day] :
         {std::pair{before, "2024/12/31 23:59:5"}, std::pair{after, "2025/01/01 00:00:0"}}) {
        ASSERT_FALSE(bytes.empty()) << day;
        ASSERT_EQ(bytes.size() % 127, 0u);
        for (std::size_t at = 0; at < bytes.size(); at += 127) {
            EXPECT_EQ(bytes.substr(at, 18), day);
            EXPECT_EQ(bytes.substr(at + 124, 3), "\r\r\n");
            texts.push_back(bytes.substr(at + 20, 104));
        }
    }
    EXPECT_GE(rig.sent.size(), 10u);
    EXPECT_EQ(texts, rig.sent);
    EXPECT_EQ(rig.fileLog, Texts{"recording to " + dir.file("mast-20250101.ivt")});
}

} // namespace
