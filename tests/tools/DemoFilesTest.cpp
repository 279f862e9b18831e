// The demo files must read back as the instrument's files do: every field an 8-character number,
// one row a second (record) or a minute (log), the blocks asked for, and the same bytes for the
// same seed, since benchmark figures are compared across runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "files/LogFileReader.h"
#include "files/RecordFileReader.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"
#include "tools/demo-files/DemoFiles.h"

namespace {

bool isNumber(std::string_view field)
{
    const std::string text(field);
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return field.size() == 8 && end == text.c_str() + text.size() && text.back() != ' ';
}

// Fields of every row that are not an 8-character number.
int badFields(const CDataTable& rows)
{
    int bad = 0;
    for (std::size_t row = 0; row < rows.rowCount(); ++row)
        for (int column = 0; column < rows.columnCount(); ++column)
            bad += isNumber(rows.field(row, column)) ? 0 : 1;
    return bad;
}

} // namespace

TEST(DemoFiles, ReadBackAsRecordAndLogFiles)
{
    TempDir dir;
    CScriptedMessageBox messages;
    ASSERT_TRUE(writeDemoRecordFile(dir.file("r.ivt"), 3600));
    CDataTable record;
    ASSERT_TRUE(readRecordFile(dir.file("r.ivt"), record, messages));
    ASSERT_EQ(record.rowCount(), 3600u);
    EXPECT_EQ(record.dateTime(0), "2026/03/14 00:00:00");
    EXPECT_EQ(record.dateTime(3599), "2026/03/14 00:59:59");
    EXPECT_EQ(badFields(record), 0);
    EXPECT_EQ(readFile(dir.file("r.ivt")).substr(19 + 1 + 13 * 8, 3), "\r\r\n");

    ASSERT_TRUE(writeDemoLogFile(dir.file("l.lvt"), 120, 3));
    CDataTable log;
    ASSERT_TRUE(readLogFile(dir.file("l.lvt"), log, messages));
    ASSERT_EQ(log.rowCount(), 120u);
    EXPECT_EQ(log.blockCount(), 3);
    EXPECT_EQ(log.dateTime(0), "2026/05/02 00:00:00");
    EXPECT_EQ(log.dateTime(119), "2026/05/02 01:59:00");
    EXPECT_EQ(badFields(log), 0);
    EXPECT_TRUE(messages.shown().empty());
}

TEST(DemoFiles, SameSeedSameBytesAndWriteFailuresReported)
{
    TempDir dir;
    ASSERT_TRUE(writeDemoRecordFile(dir.file("a.ivt"), 500, 3));
    ASSERT_TRUE(writeDemoRecordFile(dir.file("b.ivt"), 500, 3));
    ASSERT_TRUE(writeDemoRecordFile(dir.file("c.ivt"), 500, 4));
    EXPECT_EQ(readFile(dir.file("a.ivt")), readFile(dir.file("b.ivt")));
    EXPECT_NE(readFile(dir.file("a.ivt")), readFile(dir.file("c.ivt")));
    ASSERT_TRUE(writeDemoLogFile(dir.file("a.lvt"), 50, 2, 3));
    ASSERT_TRUE(writeDemoLogFile(dir.file("b.lvt"), 50, 2, 3));
    EXPECT_EQ(readFile(dir.file("a.lvt")), readFile(dir.file("b.lvt")));

    EXPECT_FALSE(writeDemoRecordFile(dir.file("missing/r.ivt"), 10));
    EXPECT_FALSE(writeDemoLogFile(dir.file("missing/l.lvt"), 10, 1));
    // A full disk: the bytes cannot go out, however they are buffered.
    EXPECT_FALSE(writeDemoRecordFile("/dev/full", 10));
    EXPECT_FALSE(writeDemoLogFile("/dev/full", 10, 2));
}
