#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "files/RecordFileReader.h"
#include "files/RecordingWriter.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"

namespace {

std::string dataText(char fill) { return std::string(104, fill); }

const ShownMessage kFailure{"ERROR: Unable to open recording file.", MessageIcon::Stop, false};

// A message box that, while its message shows, lets more lines arrive (as the window thread's
// timers do behind a modal box).
class CReentrantMessageBox final : public IMessageBox {
public:
    IRecordingSink* sink = nullptr;
    int shown = 0;
    void tell(std::string_view, MessageIcon) override
    {
        ++shown;
        sink->appendDataText(dataText('r'));
        sink->appendDataText(dataText('s'));
    }
    bool askYesNo(std::string_view, MessageIcon) override { return false; }
};

} // namespace

TEST(RecordingWriter, WritesDateTimeHashDataTextAndCrCrLf)
{
    TempDir dir;
    CFixedClock clock(2024, 3, 5, 7, 8, 9);
    CScriptedMessageBox messages;
    CRecordingWriter writer(dir.directory() + "dump.ivt", clock, messages);
    writer.appendDataText(dataText('a'));
    writer.appendDataText(dataText('b')); // same second, same date-time
    clock.set(2024, 12, 31, 23, 59, 58);
    writer.appendDataText(dataText('c'));

    std::string expected = "2024/03/05 07:08:09#" + dataText('a') + "\r\r\n" +
                           "2024/03/05 07:08:09#" + dataText('b') + "\r\r\n" +
                           "2024/12/31 23:59:58#" + dataText('c') + "\r\r\n";
    EXPECT_EQ(readFile(writer.path()), expected);
    EXPECT_EQ(expected.size(), 3u * 127u);
    EXPECT_TRUE(messages.shown().empty());

    // The record reader gets the same texts back.
    CDataTable rows;
    ASSERT_TRUE(readRecordFile(writer.path(), rows, messages));
    ASSERT_EQ(rows.rowCount(), 3u);
    EXPECT_EQ(rows.dateTime(2), "2024/12/31 23:59:58");
    EXPECT_EQ(rows.field(1, 12), "bbbbbbbb");
}

TEST(RecordingWriter, OnlyDataTextsOf104CharactersMakeALine)
{
    TempDir dir;
    CFixedClock clock(2024, 1, 1, 0, 0, 0);
    CScriptedMessageBox messages;
    CRecordingWriter writer(dir.file("dump.ivt"), clock, messages);
    std::string withNul = dataText('n');
    withNul[50] = '\0';
    for (const std::string& text : {std::string(103, 'x'), std::string(105, 'x'), std::string(),
                                    withNul})
        writer.appendDataText(text);
    EXPECT_FALSE(std::filesystem::exists(writer.path()));

    // The length rule counts characters as composed; a line feed inside reaches the disk as
    // CR LF, as through a text-mode stream.
    std::string withLineFeed = dataText('f');
    withLineFeed[10] = '\n';
    writer.appendDataText(withLineFeed);
    withLineFeed.insert(10, 1, '\r');
    EXPECT_EQ(readFile(writer.path()), "2024/01/01 00:00:00#" + withLineFeed + "\r\r\n");
    EXPECT_TRUE(messages.shown().empty());

    writeFile(writer.path(), "kept\r\r\n");
    writer.appendDataText(dataText('x'));
    EXPECT_EQ(readFile(writer.path()), "kept\r\r\n2024/01/01 00:00:00#" + dataText('x') + "\r\r\n");
}

TEST(RecordingWriter, UnopenableFileIsReportedAndRecordingGoesOn)
{
    TempDir dir;
    CFixedClock clock(2024, 1, 1, 0, 0, 0);
    CScriptedMessageBox messages;
    CRecordingWriter writer(dir.file("later/dump.ivt"), clock, messages);
    writer.appendDataText(dataText('a'));
    EXPECT_EQ(messages.shown(), std::vector<ShownMessage>{kFailure});

    std::filesystem::create_directory(dir.file("later"));
    writer.appendDataText(dataText('b'));
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(readFile(writer.path()), "2024/01/01 00:00:00#" + dataText('b') + "\r\r\n");
}

TEST(RecordingWriter, NoRoomForALineIsReported)
{
    TempDir dir;
    CFixedClock clock(2024, 1, 1, 0, 0, 0);
    CScriptedMessageBox messages;
    CRecordingWriter writer(dir.file("dump.ivt"), clock, messages);
    writeFile(writer.path(), "old\r\r\n");
    {
        FileSizeLimit limit(5);
        writer.appendDataText(dataText('a'));
    }
    EXPECT_EQ(readFile(writer.path()), "old\r\r\n");
    EXPECT_EQ(messages.shown(), std::vector<ShownMessage>{kFailure});
}

TEST(RecordingWriter, APartlyWrittenLineIsCutOffAgain)
{
    TempDir dir;
    CFixedClock clock(2024, 1, 1, 0, 0, 0);
    CScriptedMessageBox messages;
    CRecordingWriter writer(dir.file("dump.ivt"), clock, messages);
    writer.appendDataText(dataText('a'));
    std::string before = readFile(writer.path());
    {
        // Room for 50 more bytes: the next line is written in part, then the write fails.
        FileSizeLimit limit(before.size() + 50);
        writer.appendDataText(dataText('b'));
    }
    EXPECT_EQ(readFile(writer.path()), before);
    EXPECT_EQ(messages.shown(), std::vector<ShownMessage>{kFailure});

    writer.appendDataText(dataText('c'));
    EXPECT_EQ(readFile(writer.path()), before + "2024/01/01 00:00:00#" + dataText('c') + "\r\r\n");
}

TEST(RecordingWriter, FailuresWhileTheMessageShowsDoNotStackMessages)
{
    TempDir dir;
    CFixedClock clock(2024, 1, 1, 0, 0, 0);
    CReentrantMessageBox messages;
    CRecordingWriter writer(dir.file("missing/dump.ivt"), clock, messages);
    messages.sink = &writer;
    writer.appendDataText(dataText('a'));
    EXPECT_EQ(messages.shown, 1);
    // Once closed, the next failure is shown again.
    writer.appendDataText(dataText('b'));
    EXPECT_EQ(messages.shown, 2);
}

TEST(RecordingWriter, EmptyingTheFile)
{
    TempDir dir;
    CFixedClock clock(2024, 1, 1, 0, 0, 0);
    CScriptedMessageBox messages;
    CRecordingWriter writer(dir.file("dump.ivt"), clock, messages);
    writer.appendDataText(dataText('a'));
    EXPECT_TRUE(writer.emptyFile());
    EXPECT_TRUE(std::filesystem::exists(writer.path()));
    EXPECT_EQ(readFile(writer.path()), "");
    EXPECT_TRUE(messages.shown().empty());

    CRecordingWriter unreachable(dir.file("missing/dump.ivt"), clock, messages);
    EXPECT_FALSE(unreachable.emptyFile());
    CRecordingWriter folder(dir.directory(), clock, messages);
    EXPECT_FALSE(folder.emptyFile());
    EXPECT_EQ(messages.shown(), (std::vector<ShownMessage>{kFailure, kFailure}));
}

// What stands at the path before the first line: a file cut inside a line gets the rest of its
// line end first, the fragment staying a row of its own; anything but a regular file is refused
// at once, even a FIFO that nobody reads (a plain open would wait for a reader).
TEST(RecordingWriter, TheFileIsMadeToEndWithALineEndAndMustBeRegular)
{
    const std::string line = "2024/01/01 00:00:00#" + dataText('a') + "\r\r\n";
    const std::pair<const char*, const char*> cases[] = {
        {"kept\r\r\n", "kept\r\r\n"}, {"2024/01/01 00:00:00#ab", "2024/01/01 00:00:00#ab\r\r\n"},
        {"x\r", "x\r\r\n"},           {"x\r\r", "x\r\r\n"},
        {"x\n", "x\n"},                 {nullptr, nullptr}, // a FIFO
    };
    for (const auto& [before, repaired] : cases) {
        SCOPED_TRACE(before ? before : "FIFO");
        TempDir dir;
        CFixedClock clock(2024, 1, 1, 0, 0, 0);
        CScriptedMessageBox messages;
        CRecordingWriter writer(dir.file("dump.ivt"), clock, messages);
        if (before)
            writeFile(writer.path(), before);
        else
            ASSERT_EQ(::mkfifo(writer.path().c_str(), 0600), 0);
        writer.appendDataText(dataText('a'));
        EXPECT_EQ(writer.emptyFile(), before != nullptr);
        if (before) {
            EXPECT_TRUE(messages.shown().empty());
            EXPECT_EQ(readFile(writer.path()), "") << "emptied";
            writeFile(writer.path(), before);
            writer.appendDataText(dataText('a'));
            EXPECT_EQ(readFile(writer.path()), repaired + line);
        } else {
            EXPECT_EQ(messages.shown(), (std::vector<ShownMessage>{kFailure, kFailure}));
        }
    }
    int fd = -1;
    EXPECT_EQ(openRecordingFile("/dev/null", O_APPEND, &fd), kNotRegularFile);
}

// Another writer of ours holds the lock: the append waits for it, and when the line then fails
// for want of room, the cut-back keeps the line the other writer appended meanwhile.
TEST(RecordingWriter, AppendsAndCutBacksWaitForTheOtherWritersLock)
{
    TempDir dir;
    CFixedClock clock(2024, 1, 1, 0, 0, 0);
    CScriptedMessageBox messages;
    CRecordingWriter writer(dir.file("dump.ivt"), clock, messages);
    const std::string other = "2024/01/01 00:00:00#" + dataText('o') + "\r\r\n";
    writeFile(writer.path(), other);
    const int held = ::open(writer.path().c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    {
        FileSizeLimit limit(2 * other.size() + 50);
        std::thread append([&] { writer.appendDataText(dataText('w')); });
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_EQ(readFile(writer.path()), other) << "the append waits for the lock";
        ASSERT_EQ(::write(held, other.data(), other.size()), static_cast<ssize_t>(other.size()));
        ::close(held);
        append.join();
    }
    EXPECT_EQ(readFile(writer.path()), other + other);
    EXPECT_EQ(messages.shown(), std::vector<ShownMessage>{kFailure});
}
