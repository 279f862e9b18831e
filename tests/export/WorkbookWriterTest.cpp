#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include "export/WorkbookWriter.h"
#include "tests/export/ExportTables.h"
#include "tests/export/WorkbookReader.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"

namespace {

std::string cell(std::size_t column, std::size_t row)
{
    return columnName(column) + std::to_string(row);
}

std::string fields(const std::vector<std::string>& texts)
{
    std::string dataText;
    for (const std::string& text : texts)
        dataText += text;
    return dataText;
}

} // namespace

TEST(WorkbookWriter, SheetHoldsTitlesAnEmptyRowThenDatesTimesAndNumbers)
{
    struct Row {
        std::string dateTime, dataText, date, time;
        std::vector<double> values; // the 13 value columns
    };
    const Row rows[] = {
        {"2024/03/05 07:08:09",
         fields({"   12.5 ", "  _und  ", "        ", "  abc   ", "-0.25   ", " 1013.25", "---- -- ",
                 "   1e3  ", "     inf", "     nan", "  +7    ", "   .5   ", "  -3.5xtail"}),
         "2024/03/05",
         "07:08:09",
         {12.5, -999, 0, 0, -0.25, 1013.25, -999, 1000, 0, 0, 7, 0.5, -3.5}},
        // A short data text: the fields it lacks are empty and export as 0.
        {"2024/03/05", "  _err  ", "2024/03/05", "", {-999, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"", "", "", "", std::vector<double>(13, 0.0)},
        {"2024/03/05 12:00:00 \xB0x", "", "2024/03/05", "12:00:00 \xC2\xB0x",
         std::vector<double>(13, 0.0)},
    };
    std::vector<std::pair<std::string, std::string>> lines;
    for (const Row& row : rows)
        lines.emplace_back(row.dateTime, row.dataText);
    CDataTable table = recordTable(lines);
    std::vector<std::string> titles = recordTitles();
    titles[0] = "<SoW> & \"so\"";

    TempDir dir;
    ASSERT_EQ(writeExportWorkbook(dir.file("w.xlsx"), table, titles, {0, table.rowCount()}), 0);
    std::vector<ReadSheet> sheets = readWorkbook(dir.file("w.xlsx"));
    ASSERT_EQ(sheets.size(), 1u);
    const ReadSheet& sheet = sheets[0];
    EXPECT_EQ(sheet.lastColumn, 15u);
    EXPECT_EQ(sheet.lastRow, 2 + std::size(rows));

    EXPECT_EQ(sheet.text("A1"), "DATE");
    EXPECT_EQ(sheet.text("B1"), "TIME");
    EXPECT_EQ(sheet.text("C1"), "<SoW> & \"so\"");
    EXPECT_EQ(sheet.text("D1"), "Azimuth \xC2\xB0");
    EXPECT_EQ(sheet.text("O1"), "T.Sonic \xC2\xB0"
                                "C");
    for (std::size_t column = 1; column <= 15; ++column)
        EXPECT_FALSE(sheet.has(cell(column, 2))) << "row 2 is empty";

    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        std::size_t sheetRow = i + 3;
        SCOPED_TRACE("sheet row " + std::to_string(sheetRow));
        // Dates and times stay text (a spreadsheet would otherwise turn them into numbers);
        // empty ones leave the cell empty.
        EXPECT_EQ(sheet.text(cell(1, sheetRow)), row.date);
        EXPECT_EQ(sheet.type(cell(1, sheetRow)), row.date.empty() ? 0 : 's');
        EXPECT_EQ(sheet.text(cell(2, sheetRow)), row.time);
        EXPECT_EQ(sheet.type(cell(2, sheetRow)), row.time.empty() ? 0 : 's');
        for (std::size_t k = 0; k < 13; ++k) {
            EXPECT_EQ(sheet.type(cell(k + 3, sheetRow)), 'n') << "column " << k;
            EXPECT_EQ(sheet.number(cell(k + 3, sheetRow)), row.values[k]) << "column " << k;
        }
    }
}

// The log viewer passes one title per data column of all its blocks: each title heads the
// values of the table column with the same index.
TEST(WorkbookWriter, ValueColumnsFollowTheTitlesOverAllBlocks)
{
    CDataTable table;
    table.reset(CDataTable::Layout::Log, 2);
    table.addRow("2024/01/02 10:00:00");
    table.addDataLine(fields(std::vector<std::string>(13, "       1")));
    table.addDataLine(fields(std::vector<std::string>(13, "       2")));
    std::vector<std::string> titles;
    for (int block = 1; block <= 2; ++block)
        for (int k = 0; k < 13; ++k)
            titles.push_back("c" + std::to_string(k) + " #" + std::to_string(block));

    TempDir dir;
    for (std::size_t count : {26u, 13u}) {
        std::vector<std::string> someTitles(titles.begin(), titles.begin() + count);
        ASSERT_EQ(writeExportWorkbook(dir.file("l.xlsx"), table, someTitles, {0, 1}), 0);
        std::vector<ReadSheet> sheets = readWorkbook(dir.file("l.xlsx"));
        ASSERT_EQ(sheets.size(), 1u);
        EXPECT_EQ(sheets[0].lastColumn, 2 + count);
        for (std::size_t k = 0; k < count; ++k) {
            EXPECT_EQ(sheets[0].text(cell(k + 3, 1)), titles[k]);
            EXPECT_EQ(sheets[0].number(cell(k + 3, 3)), k < 13 ? 1 : 2) << k;
        }
    }
}

TEST(WorkbookWriter, RangeRowsBeyondASheetContinueOnTheNextSheet)
{
    CDataTable table = generatedTable(12);
    TempDir dir;
    // Rows 2..8, three to a sheet: 3, 3 and 1.
    ASSERT_EQ(writeExportWorkbook(dir.file("s.xlsx"), table, recordTitles(), {2, 7}, {}, 3), 0);
    std::vector<ReadSheet> sheets = readWorkbook(dir.file("s.xlsx"));
    ASSERT_EQ(sheets.size(), 3u);
    std::size_t row = 2;
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        const ReadSheet& sheet = sheets[s];
        EXPECT_EQ(sheet.name, "Sheet" + std::to_string(s + 1));
        EXPECT_EQ(sheet.text("A1"), "DATE");
        EXPECT_EQ(sheet.text("O1"), "T.Sonic \xC2\xB0"
                                    "C");
        EXPECT_EQ(sheet.lastRow, s < 2 ? 5u : 3u);
        for (std::size_t sheetRow = 3; sheetRow <= sheet.lastRow; ++sheetRow, ++row) {
            EXPECT_EQ(sheet.text(cell(1, sheetRow)) + " " + sheet.text(cell(2, sheetRow)),
                      generatedDateTime(row));
            EXPECT_EQ(sheet.number(cell(15, sheetRow)), generatedValue(row, 12));
        }
    }
    EXPECT_EQ(row, 9u);
}

TEST(WorkbookWriter, FailuresLeaveNoWorkbookBehind)
{
    CDataTable table = generatedTable(30000);
    TempDir dir;
    struct Case {
        const char* what;
        std::string path;
        std::size_t titleCount;
        rlim_t fileSizeLimit;
        int expected;
    };
    const Case cases[] = {
        {"missing folder", dir.file("missing/w.xlsx"), 13, RLIM_INFINITY, ENOENT},
        // The sheet's temporary file fills the disk first; without a check the workbook would
        // hold the rows written so far and look complete.
        {"full disk", dir.file("full.xlsx"), 13, 3000000, EFBIG},
        {"more columns than a sheet", dir.file("wide.xlsx"), kSheetColumnLimit - 1, RLIM_INFINITY,
         EOVERFLOW},
    };
    for (const Case& c : cases) {
        std::vector<std::string> titles(c.titleCount, "t");
        int result;
        {
            FileSizeLimit limit(c.fileSizeLimit);
            result = writeExportWorkbook(c.path, table, titles, {0, table.rowCount()});
        }
        EXPECT_EQ(result, c.expected) << c.what;
        EXPECT_FALSE(std::filesystem::exists(c.path)) << c.what;
        EXPECT_FALSE(workbookErrorText(result).empty());
    }
    EXPECT_EQ(dir.names(), std::vector<std::string>{}) << "no temporary file is left either";
}

// The GUI sets the user's locale; libxlsxwriter would write "12,5" under a German one.
TEST(WorkbookWriter, NumbersKeepTheirPointInADecimalCommaLocale)
{
    TempDir dir;
    std::string command =
        "localedef -i de_DE -f UTF-8 " + dir.file("de_DE.UTF-8") + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 && !std::filesystem::exists(dir.file("de_DE.UTF-8")))
        GTEST_SKIP() << "no de_DE locale can be built here";
    ::setenv("LOCPATH", dir.path().c_str(), 1);
    bool set = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    CDataTable table = recordTable({{"2024/03/05 07:08:09", "   12.5 "}});
    int result = writeExportWorkbook(dir.file("de.xlsx"), table, {"SoW"}, {0, 1});
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
    if (!set)
        GTEST_SKIP() << "the de_DE locale does not load";
    ASSERT_EQ(result, 0);
    std::vector<ReadSheet> sheets = readWorkbook(dir.file("de.xlsx"));
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].type("C3"), 'n');
    EXPECT_EQ(sheets[0].number("C3"), 12.5);
}

TEST(WorkbookWriter, TemporaryWorkbooksGetUniquePrivateNames)
{
    TempDir dir;
    ::setenv("TMPDIR", dir.path().c_str(), 1);
    std::string first, second;
    EXPECT_EQ(createTemporaryWorkbook(first), 0);
    EXPECT_EQ(createTemporaryWorkbook(second), 0);
    ::setenv("TMPDIR", (dir.path() / "missing").c_str(), 1);
    std::string missing;
    EXPECT_NE(createTemporaryWorkbook(missing), 0);
    ::unsetenv("TMPDIR");

    EXPECT_NE(first, second);
    for (const std::string& path : {first, second}) {
        EXPECT_EQ(std::filesystem::path(path).parent_path(), dir.path());
        EXPECT_EQ(std::filesystem::path(path).filename().string().rfind("Ventora-export-", 0), 0u);
        EXPECT_TRUE(isWorkbookPath(path));
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600u);
    }
    EXPECT_TRUE(missing.empty());

    struct Case {
        const char* path;
        bool workbook;
    };
    const Case cases[] = {{"out.xlsx", true}, {"dir/OUT.XLSX", true},  {"out.Xlsx", true},
                          {"out.xls", false}, {"out.xlsx.csv", false}, {"xlsx", false},
                          {"out.csv", false}};
    for (const Case& c : cases)
        EXPECT_EQ(isWorkbookPath(c.path), c.workbook) << c.path;
}
