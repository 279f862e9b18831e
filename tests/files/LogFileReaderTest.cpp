#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "files/LogFileReader.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

namespace {

// A data line of 13 fields whose texts name the line and the field: "a01     ".
std::string dataLine(char tag)
{
    std::string line;
    for (int k = 1; k <= 13; ++k) {
        std::string field = std::string(1, tag) + (k < 10 ? "0" : "") + std::to_string(k);
        line += field + std::string(8 - field.size(), ' ');
    }
    // The last field's blanks are trailing white space, which the reader trims.
    while (line.back() == ' ')
        line.pop_back();
    return line;
}

struct LogRows {
    int columns = 0;
    std::vector<std::string> dateTimes;
    std::vector<std::vector<std::string>> cells;
};

LogRows readRows(const std::string& content)
{
    TempDir dir;
    writeFile(dir.file("l.lvt"), content);
    CDataTable table;
    CScriptedMessageBox messages;
    EXPECT_TRUE(readLogFile(dir.file("l.lvt"), table, messages));
    EXPECT_TRUE(messages.shown().empty());
    LogRows result;
    result.columns = table.columnCount();
    for (std::size_t i = 0; i < table.rowCount(); ++i) {
        result.dateTimes.emplace_back(table.dateTime(i));
        result.cells.push_back(table.item(i).fields);
    }
    return result;
}

const std::string kStamp1 = "DATE-TIME: 2024/01/02 10:00:00\r\r\n";
const std::string kStamp2 = "DATE-TIME: 2024/01/02 10:01:00\r\r\n";

} // namespace

TEST(LogFileReader, OneBlockPerDataLineOfTheFirstRecord)
{
    auto rows = readRows(kStamp1 + dataLine('a') + "\r\r\n" + dataLine('b') + "\r\r\n" + kStamp2 +
                         dataLine('c') + "\r\r\n" + dataLine('d') + "\r\r\n");
    EXPECT_EQ(rows.columns, 26);
    EXPECT_EQ(rows.dateTimes, (std::vector<std::string>{"2024/01/02 10:00:00", "2024/01/02 10:01:00"}));
    ASSERT_EQ(rows.cells.size(), 2u);
    EXPECT_EQ(rows.cells[0][0], "a01     ");
    EXPECT_EQ(rows.cells[0][12], "a13");
    EXPECT_EQ(rows.cells[0][13], "b01     ");
    EXPECT_EQ(rows.cells[1][25], "d13");
}

TEST(LogFileReader, RecordsWithMoreOrFewerLinesThanTheFirst)
{
    auto rows = readRows(kStamp1 + dataLine('a') + "\n" + kStamp2 + dataLine('b') + "\n" +
                         dataLine('c') + "\n" + kStamp1 + kStamp2 + dataLine('e') + "\n");
    EXPECT_EQ(rows.columns, 13);
    ASSERT_EQ(rows.cells.size(), 4u);
    EXPECT_EQ(rows.cells[1][0], "b01     "); // the extra line "c" is dropped
    EXPECT_EQ(rows.cells[2], std::vector<std::string>(13));
    EXPECT_EQ(rows.cells[3][0], "e01     ");
}

TEST(LogFileReader, EmptyLinesAndLinesBeforeTheFirstRecord)
{
    // Lines before the first record are skipped, and they do not take the place of a block.
    auto rows = readRows("Ventora log\r\r\n\r\r\n" + kStamp1 + dataLine('a') + "\r\r\n");
    EXPECT_EQ(rows.columns, 13);
    ASSERT_EQ(rows.cells.size(), 1u);
    EXPECT_EQ(rows.cells[0][0], "a01     ");

    // An empty line after a data line ends the reading there.
    rows = readRows(kStamp1 + dataLine('a') + "\r\r\n  \r\r\n" + kStamp2 + dataLine('b') + "\r\r\n");
    EXPECT_EQ(rows.columns, 13);
    EXPECT_EQ(rows.dateTimes.size(), 1u);

    // The line right after "DATE-TIME:" is a data line even when it is empty.
    rows = readRows(kStamp1 + "\r\r\n" + dataLine('a') + "\r\r\n");
    EXPECT_EQ(rows.columns, 26);
    ASSERT_EQ(rows.cells.size(), 1u);
    EXPECT_EQ(rows.cells[0][0], "");
    EXPECT_EQ(rows.cells[0][13], "a01     ");

    rows = readRows("");
    EXPECT_EQ(rows.columns, 0);
    EXPECT_TRUE(rows.cells.empty());
}

TEST(LogFileReader, DateTimeIsTheLineFromItsTwelfthCharacter)
{
    auto rows = readRows("DATE-TIME:\r\r\n" + dataLine('a') + "\n" + "xDATE-TIME: 2024/01/02 10:00:00  \n" +
                         dataLine('b') + "\n");
    EXPECT_EQ(rows.dateTimes, (std::vector<std::string>{"", " 2024/01/02 10:00:00"}));
}

TEST(LogFileReader, LongDataLinesGiveEightCharacterFieldsOnly)
{
    auto rows = readRows(kStamp1 + std::string(96, '1') + "ABCDEFGHIJKL\n");
    ASSERT_EQ(rows.cells.size(), 1u);
    EXPECT_EQ(rows.cells[0][11], "11111111");
    EXPECT_EQ(rows.cells[0][12], "ABCDEFGH");
}

TEST(LogFileReader, UnreadableFileIsReportedForEachPass)
{
    TempDir dir;
    CDataTable table;
    CScriptedMessageBox messages;
    EXPECT_FALSE(readLogFile(dir.file("missing.lvt"), table, messages));
    EXPECT_EQ(table.rowCount(), 0u);
    ShownMessage expected{"ERROR: unable to open LogInstr file.", MessageIcon::Stop, false};
    EXPECT_EQ(messages.shown(), (std::vector<ShownMessage>{expected, expected}));
}

// A record of as many blocks as a log file may have: every field comes back from its own line,
// and the bytes in memory read exactly as the file does.
TEST(LogFileReader, RecordOfTheMostBlocks)
{
    constexpr int kBlocks = 64;
    std::string content = kStamp1;
    for (int block = 0; block < kBlocks; ++block) {
        std::string number = std::to_string(block);
        content += number + std::string(8 - number.size(), ' ') + std::string(89, '.') + "end\n";
    }
    content += kStamp2 + "second\n";
    TempDir dir;
    writeFile(dir.file("l.lvt"), content);
    CDataTable fromFile, fromText;
    CScriptedMessageBox messages;
    ASSERT_TRUE(readLogFile(dir.file("l.lvt"), fromFile, messages));
    ASSERT_EQ(readLogText(content, fromText), 0);
    for (const CDataTable* table : {&fromFile, &fromText}) {
        ASSERT_EQ(table->columnCount(), 13 * kBlocks);
        ASSERT_EQ(table->rowCount(), 2u);
        for (int block : {0, 1, 31, kBlocks - 1}) {
            std::string number = std::to_string(block);
            EXPECT_EQ(table->field(0, 13 * block), number + std::string(8 - number.size(), ' '));
            EXPECT_EQ(table->field(0, 13 * block + 12), ".end");
        }
        EXPECT_EQ(table->field(1, 0), "second");
        EXPECT_EQ(table->field(1, 13), "");
    }
}

// A file larger than the machine's memory is refused before it is read: one message, the
// reason in errno, no rows.
TEST(LogFileReader, HugeFileIsRefusedOnce)
{
    TempDir dir;
    writeFile(dir.file("big.lvt"), kStamp1);
    std::filesystem::resize_file(dir.file("big.lvt"), std::uintmax_t{1} << 40);
    CDataTable table;
    CScriptedMessageBox messages;
    EXPECT_FALSE(readLogFile(dir.file("big.lvt"), table, messages));
    EXPECT_EQ(errno, EFBIG);
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"ERROR: unable to open LogInstr file."});
}
