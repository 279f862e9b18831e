#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "files/RecordFileReader.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

namespace {

const std::string kDateTime = "2024/03/05 07:08:09";
// Thirteen 8-character fields as the instrument sends them.
const std::string kData = "    12.5   180.0  1013.2    21.3    45.0  _err       1.0    -1.0"
                          "     0.1     1.4     2.3   340.1    21.0";

std::vector<CDataItem> readRows(const std::string& content)
{
    TempDir dir;
    writeFile(dir.file("r.ivt"), content);
    CDataTable table;
    CScriptedMessageBox messages;
    EXPECT_TRUE(readRecordFile(dir.file("r.ivt"), table, messages));
    EXPECT_TRUE(messages.shown().empty());
    std::vector<CDataItem> rows;
    for (std::size_t i = 0; i < table.rowCount(); ++i)
        rows.push_back(table.item(i));
    return rows;
}

CDataItem row(std::string dateTime, std::vector<std::string> fields)
{
    fields.resize(13);
    return CDataItem{std::move(dateTime), std::move(fields)};
}

} // namespace

TEST(RecordFileReader, CutsLinesIntoDateTimeAndThirteenFields)
{
    ASSERT_EQ(kData.size(), 104u);
    struct Case {
        const char* name;
        std::string line;
        CDataItem expected;
    } cases[] = {
        {"full line", kDateTime + "#" + kData,
         row(kDateTime, {"    12.5", "   180.0", "  1013.2", "    21.3", "    45.0", "  _err  ",
                         "     1.0", "    -1.0", "     0.1", "     1.4", "     2.3", "   340.1",
                         "    21.0"})},
        {"no hash: fields from the first character", "AAAAAAAABBBBBBBBcc",
         row("", {"AAAAAAAA", "BBBBBBBB", "cc"})},
        {"hash first", "#AAAAAAAAB", row("", {"AAAAAAAA", "B"})},
        {"only the first hash counts", "d#AAAA#AAB#", row("d", {"AAAA#AAB", "#"})},
        {"110 characters after the hash: field 13 runs on",
         kDateTime + "#" + std::string(96, 'x') + "12345678901234",
         row(kDateTime, {"xxxxxxxx", "xxxxxxxx", "xxxxxxxx", "xxxxxxxx", "xxxxxxxx", "xxxxxxxx",
                         "xxxxxxxx", "xxxxxxxx", "xxxxxxxx", "xxxxxxxx", "xxxxxxxx", "xxxxxxxx",
                         "12345678901234"})},
        {"40 characters in all", kDateTime + "#" + std::string(20, 'y'),
         row(kDateTime, {"yyyyyyyy", "yyyyyyyy", "yyyy"})},
        {"trailing blanks of field 13 are trimmed", kDateTime + "#" + kData.substr(0, 96) + "  21.0  ",
         row(kDateTime, {"    12.5", "   180.0", "  1013.2", "    21.3", "    45.0", "  _err  ",
                         "     1.0", "    -1.0", "     0.1", "     1.4", "     2.3", "   340.1",
                         "  21.0"})},
    };
    for (const Case& c : cases) {
        auto rows = readRows(c.line + "\r\r\n");
        ASSERT_EQ(rows.size(), 1u) << c.name;
        EXPECT_EQ(rows[0], c.expected) << c.name;
    }
}

TEST(RecordFileReader, LineEndsReadAlikeAndEmptyLinesAreSkipped)
{
    std::string line = kDateTime + "#" + kData;
    auto expected = readRows(line + "\r\r\n");
    ASSERT_EQ(expected.size(), 1u);
    for (const char* end : {"\r\n", "\n", ""})
        EXPECT_EQ(readRows(line + end), expected) << "line end of " << std::string(end).size();

    auto rows = readRows("\r\r\n" + line + "\r\r\n   \t \r\r\n\n" + line + "\r\r\n\r\r\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], expected[0]);
    EXPECT_EQ(rows[1], expected[0]);
    EXPECT_TRUE(readRows("").empty());
}

TEST(RecordFileReader, ALineOver255CharactersIsReadAsSeveralRows)
{
    std::string line = kDateTime + "#" + std::string(235, 'z') + "TAIL#END";
    auto rows = readRows(line + "\r\r\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].dateTime, kDateTime);
    EXPECT_EQ(rows[0].fields[12], std::string(235 - 96, 'z'));
    EXPECT_EQ(rows[1].dateTime, "TAIL");
    EXPECT_EQ(rows[1].fields[0], "END");
}

TEST(RecordFileReader, UnreadableFileEmptiesTheRowsAndSaysSo)
{
    TempDir dir;
    CDataTable table;
    table.reset(CDataTable::Layout::Record);
    table.addRow("old row");
    for (const std::string& path : {dir.file("missing.ivt"), dir.directory()}) {
        CScriptedMessageBox messages;
        EXPECT_FALSE(readRecordFile(path, table, messages));
        EXPECT_EQ(table.rowCount(), 0u);
        EXPECT_EQ(messages.shown(),
                  (std::vector<ShownMessage>{
                      {"ERROR: Unable to open selected file", MessageIcon::Stop, false}}));
    }
}

TEST(RecordFileReader, HugeFileIsRefusedWithTheOpenMessage)
{
    TempDir dir;
    writeFile(dir.file("big.ivt"), kDateTime + "#" + kData + "\r\r\n");
    std::filesystem::resize_file(dir.file("big.ivt"), std::uintmax_t{1} << 40);
    CDataTable table;
    CScriptedMessageBox messages;
    EXPECT_FALSE(readRecordFile(dir.file("big.ivt"), table, messages));
    EXPECT_EQ(errno, EFBIG);
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"ERROR: Unable to open selected file"});
}

TEST(RecordFileReader, BytesInMemoryReadAsTheFile)
{
    const std::string content = "\r\r\n" + kDateTime + "#" + kData + "\r\r\nno hash here\n" +
                                std::string(300, 'x') + "\n#\n";
    TempDir dir;
    writeFile(dir.file("r.ivt"), content);
    CDataTable fromFile, fromText;
    CScriptedMessageBox messages;
    ASSERT_TRUE(readRecordFile(dir.file("r.ivt"), fromFile, messages));
    ASSERT_EQ(readRecordText(content, fromText), 0);
    ASSERT_EQ(fromText.rowCount(), fromFile.rowCount());
    for (std::size_t row = 0; row < fromFile.rowCount(); ++row)
        EXPECT_EQ(fromText.item(row), fromFile.item(row));
}
