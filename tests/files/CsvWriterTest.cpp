#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <sstream>

#include "files/CsvWriter.h"
#include "tests/support/FileSizeLimit.h"
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

// Numbers are written from the field's digits where possible; whatever way they are written,
// they must read back to exactly the value the field holds.
TEST(CsvWriter, NumbersReadBackToTheFieldValues)
{
    std::vector<std::string> fields = {"   12.50", "  -0.000", "007.2500", "   1e-3 ", "   0x1A ",
                                       "  .5    ", "-1.", "123456789012345", "1234567890123456",
                                       "   inf  ", " 99999.9", "0.000001"};
    std::mt19937 random(11);
    std::uniform_int_distribution<int> digit(0, 9), point(0, 8);
    for (int i = 0; i < 2000; ++i) {
        std::string field(8, ' ');
        for (int k = point(random); k < 8; ++k)
            field[static_cast<std::size_t>(k)] = static_cast<char>('0' + digit(random));
        field[static_cast<std::size_t>(point(random) % 8)] = '.';
        fields.push_back(field);
    }
    CDataTable rows;
    rows.reset(CDataTable::Layout::Record);
    for (const std::string& field : fields) {
        rows.addRow("2024/01/01 00:00:00");
        rows.addDataLine(std::string(96, ' ') + field); // field 13 runs to the end
    }
    std::string csv = toCsv(rows, Unit());
    std::istringstream lines(csv);
    std::string line;
    std::getline(lines, line); // titles
    for (const std::string& field : fields) {
        ASSERT_TRUE(std::getline(lines, line));
        std::string number = line.substr(line.rfind(',') + 1);
        double written = std::strtod(number.c_str(), nullptr);
        double expected = fieldValue(field);
        EXPECT_EQ(std::memcmp(&written, &expected, sizeof written), 0)
            << '"' << field << "\" written as " << number;
        EXPECT_LE(number.size(), 17u) << number;
    }
}
