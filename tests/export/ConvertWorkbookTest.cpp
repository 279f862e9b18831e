#include <gtest/gtest.h>

#include <filesystem>

#include "tests/export/WorkbookReader.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolRun.h"

namespace {

std::string lastLine(const std::string& text)
{
    std::size_t end = text.size() && text.back() == '\n' ? text.size() - 1 : text.size();
    std::size_t begin = text.rfind('\n', end == 0 ? 0 : end - 1);
    return text.substr(begin == std::string::npos ? 0 : begin + 1, end - (begin + 1));
}

} // namespace

TEST(ConvertWorkbook, RecordAndLogFilesBecomeTheExportWorkbook)
{
    TempDir dir;
    writeFile(dir.file("r.ivt"), "2024/03/05 07:08:09#   12.5   _und  " + std::string(88, ' ') +
                                     "   -4.5\r\r\n2024/03/05 07:08:10#\r\r\n");
    writeFile(dir.file("l.lvt"), "DATE-TIME: 2024/01/02 10:00:00\r\r\n" + std::string(104, '1') +
                                     "\r\r\n" + std::string(104, '2') + "\r\r\n");
    struct Case {
        std::string input, output, firstTitle, lastTitle;
        std::size_t columns, rows;
        double firstValue, lastValue;
    };
    const Case cases[] = {
        {"r.ivt", "r.xlsx", "SoW",
         "T.Sonic \xC2\xB0"
         "C",
         15, 4, 12.5, -4.5},
        {"r.ivt", "R2.XLSX", "SoW",
         "T.Sonic \xC2\xB0"
         "C",
         15, 4, 12.5, -4.5},
        {"l.lvt", "l.xlsx", "SoW #1", "T.Sonic #2", 28, 3, 11111111, 22222222},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        ToolRun run = convert(dir, dir.file(c.input) + " " + dir.file(c.output));
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out + run.err, "");
        std::vector<ReadSheet> sheets = readWorkbook(dir.file(c.output));
        ASSERT_EQ(sheets.size(), 1u);
        const ReadSheet& sheet = sheets[0];
        EXPECT_EQ(sheet.lastColumn, c.columns);
        EXPECT_EQ(sheet.lastRow, c.rows);
        std::string last = columnName(c.columns);
        EXPECT_EQ(sheet.text("A1") + sheet.text("B1"), "DATETIME");
        EXPECT_EQ(sheet.text("C1"), c.firstTitle);
        EXPECT_EQ(sheet.text(last + "1"), c.lastTitle);
        EXPECT_EQ(sheet.text("A3") + " " + sheet.text("B3"),
                  c.input == "r.ivt" ? "2024/03/05 07:08:09" : "2024/01/02 10:00:00");
        EXPECT_EQ(sheet.number("C3"), c.firstValue);
        EXPECT_EQ(sheet.number(last + "3"), c.lastValue);
    }
    // The record file's second row: no fields, all values 0.
    std::vector<ReadSheet> sheets = readWorkbook(dir.file("r.xlsx"));
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].text("B4"), "07:08:10");
    EXPECT_EQ(sheets[0].type("D3"), 'n');
    EXPECT_EQ(sheets[0].number("D3"), -999);
    EXPECT_EQ(sheets[0].number("O4"), 0);
}

TEST(ConvertWorkbook, AWorkbookThatCannotBeWrittenFailsAndLeavesNothing)
{
    TempDir dir;
    writeFile(dir.file("r.ivt"), "2024/03/05 07:08:09#" + std::string(104, '7') + "\r\r\n");
    std::string output = dir.file("missing/r.xlsx");
    ToolRun run = convert(dir, dir.file("r.ivt") + " " + output);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(lastLine(run.err),
              "ventora-convert: " + output + ": cannot create: No such file or directory");
    EXPECT_FALSE(std::filesystem::exists(output));

    // A workbook that fails part-way leaves an older one at the output path as it was.
    std::string lines;
    for (int i = 0; i < 2000; ++i)
        lines += "2024/03/05 07:08:09#" + std::string(104, '7') + "\r\r\n";
    writeFile(dir.file("big.ivt"), lines);
    writeFile(dir.file("old.xlsx"), "an older workbook");
    EXPECT_EQ(convert(dir, dir.file("big.ivt") + " " + dir.file("old.xlsx"), 8).exitCode, 1);
    EXPECT_EQ(readFile(dir.file("old.xlsx")), "an older workbook");
}
