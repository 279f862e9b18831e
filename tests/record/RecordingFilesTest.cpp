#include <gtest/gtest.h>

#include <filesystem>

#include "files/CsvWriter.h"
#include "tests/protocol/ProtocolFakes.h"
#include "tests/support/TempDir.h"
#include "tools/record/RecordingFiles.h"

namespace {

using Texts = std::vector<std::string>;

TEST(RecordingFilesTest, DailyNameGoesBeforeTheExtensionOfTheFileName)
{
    std::tm day{};
    day.tm_year = 124;
    day.tm_mon = 4;
    day.tm_mday = 7;
    const std::pair<const char*, const char*> cases[] = {
        {"dump.ivt", "dump-20240507.ivt"},
        {"/var/lib/ventora/mast.ivt", "/var/lib/ventora/mast-20240507.ivt"},
        {"archive.2024/station", "archive.2024/station-20240507"},
        {"station", "station-20240507"},
        {"a.tar.ivt", "a.tar-20240507.ivt"},
        {".ivt", ".ivt-20240507"},
        {"data/.hidden", "data/.hidden-20240507"},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(dailyFileName(path, day), expected) << path;
}

// A file that cannot be written costs one log line, however many samples are lost meanwhile;
// the echo goes on, and the next sample that can be written says how many were lost.
TEST(RecordingFilesTest, UnwritableFileIsLoggedOnceAndItsRecoveryCountsTheLoss)
{
    TempDir dir;
    const std::string folder = dir.file("later");
    const std::string path = folder + "/mast.ivt";
    CFixedClock clock(2024, 5, 17, 10, 20, 30);
    Texts log;
    Texts echoed;
    CRecordingFiles files(path, false, clock,
                          [&](std::string_view text) { log.emplace_back(text); });
    files.setEcho([&](std::string_view line) { echoed.emplace_back(line); });
    const std::string sample = sampleDataText();

    EXPECT_EQ(files.reopen(), ENOENT);
    for (int i = 0; i < 3; ++i)
        files.appendDataText(sample);
    files.appendDataText("short"); // never a line: neither lost nor echoed
    EXPECT_EQ(log, Texts{"ERROR: Unable to open recording file. " + path +
                         ": samples are lost until it can be written"});
    EXPECT_EQ(files.samplesLost(), 3u);

    std::filesystem::create_directory(folder);
    files.appendDataText(sample);
    EXPECT_EQ(log.back(), "recording to " + path + " again; 3 samples were lost");
    EXPECT_EQ(files.samplesWritten(), 1u);
    EXPECT_EQ(readFile(path), "2024/05/17 10:20:30#" + sample + "\r\r\n");
    EXPECT_EQ(echoed, Texts(4, csvSampleLine("2024/05/17 10:20:30", sample)));
}

// After logrotate has moved the file away, opening it again creates it, and the samples after
// go there; none is lost or written twice across the move.
TEST(RecordingFilesTest, FileMovedAwayIsCreatedAgain)
{
    TempDir dir;
    const std::string path = dir.file("dump.ivt");
    CFixedClock clock(2024, 5, 17, 10, 20, 30);
    Texts log;
    CRecordingFiles files(path, false, clock,
                          [&](std::string_view text) { log.emplace_back(text); });
    std::string first = sampleDataText();
    std::string second = first;
    second[0] = '9';
    files.appendDataText(first);
    std::filesystem::rename(path, path + ".1");
    EXPECT_EQ(files.reopen(), 0);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
    files.appendDataText(second);
    EXPECT_EQ(readFile(path + ".1"), "2024/05/17 10:20:30#" + first + "\r\r\n");
    EXPECT_EQ(readFile(path), "2024/05/17 10:20:30#" + second + "\r\r\n");
    EXPECT_TRUE(log.empty());
}

} // namespace
