#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

#include "files/CsvWriter.h"
#include "tests/files/FileSizeLimit.h"
#include "tests/support/TempDir.h"

namespace {

std::string toCsv(const CDataTable& rows, const Unit& unit)
{
    TempDir dir;
    std::FILE* out = std::fopen(dir.file("out.csv").c_str(), "wb");
    EXPECT_EQ(writeCsv(rows, csvFieldTitles(rows, unit), out), 0);
    std::fclose(out);
    return readFile(dir.file("out.csv"));
}

} // namespace

TEST(CsvWriter, RecordRowsAsDateTimeAndNumbers)
{
    Unit unit;
    unit.setSpeedUnit("m/s");
    CDataTable rows;
    rows.reset(CDataTable::Layout::Record);
    rows.addRow("2024/03/05 07:08:09");
    // Fields: a number, a marker, no number, empty, a signed number, an exponent, 6 blanks,
    // and a 13th field that runs past 8 characters.
    rows.addDataLine("    12.5  _err   abc    " + std::string(8, ' ') + "   -0.25     1e3" +
                     std::string(48, ' ') + "    12.5 no");
    rows.addRow("short");
    std::string csv = toCsv(rows, unit);
    EXPECT_EQ(csv,
              "DATE,TIME,SoW m/s,Azimuth \xC2\xB0,Pressure mbar,Temperature \xC2\xB0"
              "C,Humidity %,Ain4,U m/s,V m/s,W m/s,U-V m/s,Elevation \xC2\xB0,SoS m/s,"
              "T.Sonic \xC2\xB0"
              "C\n"
              "2024/03/05,07:08:09,12.5,-999,0,0,-0.25,1000,0,0,0,0,0,0,12.5\n"
              "short,,0,0,0,0,0,0,0,0,0,0,0,0,0\n");
}

TEST(CsvWriter, LogTitlesNameEveryBlock)
{
    Unit unit;
    CDataTable rows;
    rows.reset(CDataTable::Layout::Log, 1);
    auto titles = csvFieldTitles(rows, unit);
    ASSERT_EQ(titles.size(), 13u);
    EXPECT_EQ(titles[2], "Ain1");
    EXPECT_EQ(titles[9], "vv_UV");
    rows.reset(CDataTable::Layout::Log, 2);
    titles = csvFieldTitles(rows, unit);
    ASSERT_EQ(titles.size(), 26u);
    EXPECT_EQ(titles[0], "SoW #1");
    EXPECT_EQ(titles[25], "T.Sonic #2");
}

TEST(CsvWriter, TextIsQuotedWhenNeededAndConvertedToUtf8)
{
    struct Case {
        std::string text, csv;
    } cases[] = {
        {"plain", "plain"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"line\rbreak", "\"line\rbreak\""},
        {"25\xB0", "25\xC2\xB0"},
        {"\x80 \x9F \xFF", "\xE2\x82\xAC \xC5\xB8 \xC3\xBF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(csvText(c.text), c.csv) << c.text;
}

TEST(CsvWriter, WriteFailureIsReturned)
{
    TempDir dir;
    std::FILE* out = std::fopen(dir.file("out.csv").c_str(), "wb");
    ASSERT_NE(out, nullptr);
    CDataTable rows;
    rows.reset(CDataTable::Layout::Record);
    rows.addRow("2024/01/01 00:00:00");
    {
        FileSizeLimit limit(10);
        EXPECT_EQ(writeCsv(rows, csvFieldTitles(rows), out), EFBIG);
    }
    std::fclose(out);
}
