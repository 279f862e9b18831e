// The record and log readers refuse what they cannot read whole or what would swell beyond the
// limits of files/FileLimits.h: each refusal is the open-failure message with its reason, and
// leaves no rows.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/FirstMessage.h"
#include "files/LogFileReader.h"
#include "files/RecordFileReader.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kRecordLine = "2024/03/05 07:08:09#" + std::string(104, '7') + "\r\r\n";
const std::string kStamp = "DATE-TIME: 2024/01/02 10:00:00\r\r\n";

std::string repeated(const std::string& text, int times)
{
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

// A log file whose first record has `blocks` data lines, and a second record.
std::string logFile(int blocks)
{
    return kStamp + repeated(std::string(104, '1') + "\r\r\n", blocks) + kStamp +
           std::string(104, '2') + "\r\r\n";
}

} // namespace

TEST(ReaderLimits, RefusedFilesGiveTheOpenMessageWithTheirReason)
{
    const std::string recordError = "ERROR: Unable to open selected file";
    const std::string logError = "ERROR: unable to open LogInstr file.";
    const struct Case {
        const char* what;
        const char* name;
        std::string content; // "" with link: a symbolic link to it instead
        const char* link;
        std::string line; // "" when the file is read
        std::size_t rows;
    } cases[] = {
        {"recorded lines", "r.ivt", repeated(kRecordLine, 3000), nullptr, "", 3000},
        {"short lines within the allowance", "s.ivt", repeated("#\n", 1024), nullptr, "", 1024},
        {"a file of # lines", "h.ivt", repeated("#\n", 20000), nullptr,
         recordError + " (more rows than its size allows: at most one per 20 bytes)", 0},
        {"a read error", "mem.ivt", "", "/proc/self/mem", recordError + " (Input/output error)", 0},
        {"a folder", "folder.ivt", "", "/", recordError + " (Is a directory)", 0},
        {"64 blocks", "64.lvt", logFile(64), nullptr, "", 2},
        {"65 blocks", "65.lvt", logFile(65), nullptr,
         logError + " (more than 64 instrument blocks in a log record)", 0},
        {"a million blocks, 2 MB", "m.lvt", kStamp + repeated("1\n", 1000000), nullptr,
         logError + " (more than 64 instrument blocks in a log record)", 0},
        {"a read error", "mem.lvt", "", "/proc/self/mem", logError + " (Input/output error)", 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.file(c.name);
        if (c.link)
            std::filesystem::create_symlink(c.link, path);
        else
            writeFile(path, c.content);
        CDataTable rows;
        CFirstMessage messages;
        const bool read = std::string(c.name).ends_with(".ivt")
                              ? readRecordFile(path, rows, messages)
                              : readLogFile(path, rows, messages);
        EXPECT_EQ(read, c.line.empty()) << c.what;
        EXPECT_EQ(messages.line(), c.line) << c.what;
        EXPECT_EQ(rows.rowCount(), c.rows) << c.what;
        if (!read) {
            EXPECT_EQ(rows.columnCount(), rows.layout() == CDataTable::Layout::Log ? 0 : 13);
        }
    }
}
