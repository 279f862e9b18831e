// Store and forward over recording files: the cursor file, the bounded window, resending after
// a lost connection and after a restart with the same numbers, rotation, and the archive's
// duplicate filter.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "files/RecordingWriter.h"
#include "mqtt/PublishCursor.h"
#include "mqtt/StationArchive.h"
#include "mqtt/StoreForward.h"
#include "tests/support/TempDir.h"

namespace {

std::string dataText(int n)
{
    std::string text = std::to_string(n);
    return std::string(104 - text.size(), ' ') + text;
}

// The bytes the recording writer appends for sample n at 12:00:n.
std::string recordingLine(int n, const char* day = "2024/05/17")
{
    char time[32];
    std::snprintf(time, sizeof time, "%s 12:%02d:%02d", day, n / 60 % 60, n % 60);
    return std::string(time) + "#" + dataText(n) + "\r\r\n";
}

void appendLines(const std::string& path, int from, int to, const char* day = "2024/05/17")
{
    std::string bytes = std::filesystem::exists(path) ? readFile(path) : std::string();
    for (int n = from; n <= to; ++n)
        bytes += recordingLine(n, day);
    writeFile(path, bytes);
}

struct Published {
    int sample;
    std::uint64_t seq;
};

class StoreForwardTest : public ::testing::Test {
protected:
    std::unique_ptr<CStoreForward> make(bool daily = false, const std::string& current = "")
    {
        auto queue = std::make_unique<CStoreForward>(
            CStoreForward::Files{dir.file("dump.ivt"), daily,
                                 current.empty() ? dir.file("dump.ivt") : current},
            3, [this](std::string_view line) { log.emplace_back(line); });
        EXPECT_EQ(queue->start(), 0);
        return queue;
    }
    // Hands out what the window allows, as messages mid, mid + 1, ...
    std::vector<Published> send(CStoreForward& queue, int& mid)
    {
        std::vector<Published> out;
        while (auto line = queue.next()) {
            out.push_back({std::stoi(line->dataText), line->seq});
            queue.sent(mid++);
        }
        return out;
    }
    TempDir dir;
    std::vector<std::string> log;
};

bool operator==(const Published& a, const Published& b)
{
    return a.sample == b.sample && a.seq == b.seq;
}
void PrintTo(const Published& p, std::ostream* out) { *out << p.sample << "#" << p.seq; }

TEST_F(StoreForwardTest, WindowAcknowledgementsAndResendingKeepTheNumbers)
{
    appendLines(dir.file("dump.ivt"), 1, 5);
    auto queue = make();
    int mid = 100;
    EXPECT_EQ(send(*queue, mid), (std::vector<Published>{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_TRUE(queue->windowFull());

    // Out of order: the cursor moves only over lines acknowledged without a gap.
    queue->acknowledged(101);
    EXPECT_EQ(queue->cursor().seq, 0u);
    queue->acknowledged(100);
    EXPECT_EQ(queue->cursor(), (PublishCursor{"dump.ivt", 2 * 127, 2}));
    EXPECT_EQ(send(*queue, mid), (std::vector<Published>{{4, 4}, {5, 5}}));

    // The connection goes: every line after the cursor goes again, with its number.
    queue->rewind();
    EXPECT_EQ(send(*queue, mid), (std::vector<Published>{{3, 3}, {4, 4}, {5, 5}}));
    queue->acknowledged(2); // a message of the old connection
    for (int m = 105; m <= 107; ++m)
        queue->acknowledged(m);
    EXPECT_EQ(queue->cursor(), (PublishCursor{"dump.ivt", 5 * 127, 5}));

    ASSERT_EQ(queue->save(), 0);
    PublishCursor saved;
    ASSERT_EQ(loadPublishCursor(queue->cursorPath(), saved), 0);
    EXPECT_EQ(saved, queue->cursor());

    // A line that could not be sent comes again.
    appendLines(dir.file("dump.ivt"), 6, 6);
    ASSERT_TRUE(queue->next());
    queue->unsend();
    EXPECT_EQ(send(*queue, mid), (std::vector<Published>{{6, 6}}));
}

TEST_F(StoreForwardTest, ARestartResumesAtTheFirstUnacknowledgedLine)
{
    std::string path = dir.file("dump.ivt");
    appendLines(path, 1, 4);
    int mid = 1;
    {
        auto queue = make();
        send(*queue, mid);
        queue->acknowledged(1);
        queue->acknowledged(2);
        queue->save();
        // Killed here: lines 3 (in flight) and 4 were never acknowledged.
    }
    // A partial line at the end (a line being written) waits; a line of another shape passes.
    writeFile(path, readFile(path) + "garbage\r\r\n" + recordingLine(5).substr(0, 60));
    auto queue = make();
    EXPECT_EQ(send(*queue, mid), (std::vector<Published>{{3, 3}, {4, 4}}));
    writeFile(path, readFile(path) + recordingLine(5).substr(60));
    EXPECT_EQ(send(*queue, mid), (std::vector<Published>{{5, 5}}));
}

TEST_F(StoreForwardTest, DailyFilesLeadOnToTheNextDayAndAnEmptiedFileStartsAgain)
{
    const std::string day1 = dir.file("dump-20240517.ivt");
    const std::string day3 = dir.file("dump-20240519.ivt");
    appendLines(day1, 1, 2);
    writeFile(day1, readFile(day1) + recordingLine(3).substr(0, 50)); // cut by a crash
    auto queue = make(true, day1);
    int mid = 1;
    EXPECT_EQ(send(*queue, mid), (std::vector<Published>{{1, 1}, {2, 2}}));
    appendLines(day3, 10, 11, "2024/05/19");
    writeFile(dir.file("dump-2024051.ivt"), "not a daily file");
    queue->acknowledged(1);
    queue->acknowledged(2);
    EXPECT_EQ(send(*queue, mid), (std::vector<Published>{{10, 3}, {11, 4}}));
    queue->acknowledged(3);
    queue->acknowledged(4);
    EXPECT_EQ(queue->cursor(), (PublishCursor{"dump-20240519.ivt", 2 * 127, 4}));

    // Emptied (--truncate) and written again: its lines are new, the numbers go on.
    writeFile(day3, "");
    appendLines(day3, 20, 20, "2024/05/19");
    EXPECT_EQ(send(*queue, mid), (std::vector<Published>{{20, 5}}));
    // A damaged stretch without line ends does not stop publishing.
    writeFile(day3, readFile(day3) + std::string(300000, '\0') + "\n");
    appendLines(day3, 21, 21, "2024/05/19");
    EXPECT_EQ(send(*queue, mid), (std::vector<Published>{{21, 6}}));
}

TEST_F(StoreForwardTest, DamagedCursorsAreRefused)
{
    const std::pair<const char*, int> rows[] = {
        {"file=dump.ivt\noffset=127\nseq=1\n", 0},
        {"file=dump.ivt\noffset=127\n", EINVAL},
        {"file=dump.ivt\noffset=127\nseq=1", EINVAL},
        {"file=a/dump.ivt\noffset=127\nseq=1\n", EINVAL},
        {"file=dump.ivt\noffset=-1\nseq=1\n", EINVAL},
        {"file=dump.ivt\noffset=12x\nseq=1\n", EINVAL},
    };
    for (const auto& [text, result] : rows) {
        writeFile(dir.file("c"), text);
        PublishCursor cursor;
        EXPECT_EQ(loadPublishCursor(dir.file("c"), cursor), result) << text;
    }
    PublishCursor cursor;
    EXPECT_EQ(loadPublishCursor(dir.file("none"), cursor), ENOENT);
    writeFile(dir.file("dump.ivt.cursor"), "file=dump.ivt\n");
    CStoreForward queue({dir.file("dump.ivt"), false, dir.file("dump.ivt")}, 3,
                        [this](std::string_view line) { log.emplace_back(line); });
    EXPECT_EQ(queue.start(), EINVAL);
    EXPECT_EQ(log.back(), "cannot read the publishing cursor " + dir.file("dump.ivt.cursor") +
                              ": it is damaged (remove it to publish the recording from its "
                              "start)");
}

TEST(StationArchiveTest, StoresLinesAsTheRecorderDoesAndDropsDuplicates)
{
    TempDir dir;
    std::vector<std::string> log;
    auto archive = std::make_unique<CStationArchive>(
        dir.path().string(), [&log](std::string_view line) { log.emplace_back(line); });
    const auto sample = [](const char* station, std::uint64_t seq, int n, const char* day) {
        const std::string line = recordingLine(n, day);
        return SampleMessage{station, seq, line.substr(0, 19), line.substr(20, 104)};
    };
    using R = CStationArchive::Result;
    EXPECT_EQ(archive->store(sample("m1", 1, 1, "2024/05/17")), R::Stored);
    EXPECT_EQ(archive->store(sample("m1", 2, 2, "2024/05/17")), R::Stored);
    EXPECT_EQ(archive->store(sample("m1", 2, 2, "2024/05/17")), R::Duplicate);
    EXPECT_EQ(archive->store(sample("m2", 1, 5, "2024/05/17")), R::Stored);
    // The last seq outlives the archiver.
    archive = std::make_unique<CStationArchive>(dir.path().string(),
                                                [](std::string_view) {});
    EXPECT_EQ(archive->store(sample("m1", 1, 1, "2024/05/17")), R::Duplicate);
    EXPECT_EQ(archive->store(sample("m1", 9, 3, "2024/05/18")), R::Stored);

    EXPECT_EQ(readFile(dir.file("m1/m1-20240517.ivt")),
              recordingLine(1) + recordingLine(2));
    EXPECT_EQ(readFile(dir.file("m1/m1-20240518.ivt")), recordingLine(3, "2024/05/18"));
    EXPECT_EQ(readFile(dir.file("m2/m2-20240517.ivt")), recordingLine(5));
    EXPECT_EQ(readFile(dir.file("m1/last-seq")), "9\n");
    EXPECT_EQ(log, (std::vector<std::string>{"m1: dropping seq 2, already stored up to 2"}));

    // A folder that cannot be written: nothing stored, the seq not advanced.
    writeFile(dir.file("m3"), "a file where the folder should be");
    EXPECT_EQ(archive->store(sample("m3", 1, 1, "2024/05/17")), R::Failed);
    EXPECT_EQ(archive->lastSeq("m3"), 0u);
}

} // namespace
