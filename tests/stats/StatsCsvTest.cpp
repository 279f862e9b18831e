#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "stats/StatsCsv.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolRun.h"

namespace {

// A recording-file line: SoW, Azimuth, Pressure and Temperature set, the other nine fields 0.
std::string line(const std::string& dateTime, const char* speed, const char* direction,
                 const char* pressure = "  1000.0", const char* temperature = "   20.00")
{
    std::string data = std::string(speed) + direction + pressure + temperature;
    for (int k = 4; k < 13; ++k)
        data += "    0.00";
    return dateTime + "#" + data + "\r\r\n";
}

const std::string kTitles = statsCsvTitles() + "\n";

} // namespace

TEST(StatsCsv, LinesShowEveryFigureOrAnEmptyField)
{
    WindFigures full;
    full.start = 0;
    full.end = 600;
    full.samples = 600;
    full.marked = 2;
    full.meanSpeed = 3.14159;
    full.minSpeed = 0;
    full.maxSpeed = 7.005;
    full.vectorSpeed = 2.5;
    full.vectorDirection = 359.97; // rounds to 360.0: written as north, 0.0
    full.directionSd = 12.26;
    full.gust = 6.999;
    full.meanTemperature = -0.001; // no "-0.00"
    full.meanPressure = 1013.25;
    WindFigures empty;
    empty.start = 600;
    empty.end = 1200;
    empty.samples = 3;
    empty.marked = 3;
    std::string out;
    appendStatsCsvLine(out, full);
    appendStatsCsvLine(out, empty);
    EXPECT_EQ(out, "1970/01/01 00:00:00,1970/01/01 00:10:00,600,2,3.14,0.00,7.00,2.50,0.0,12.3,"
                   "7.00,0.00,1013.25\n"
                   "1970/01/01 00:10:00,1970/01/01 00:20:00,3,3,,,,,,,,,\n");

    // A field may hold any number strtod reads ("1e300" fits in 8 characters): written whole.
    WindFigures huge = empty;
    huge.meanPressure = 1e300;
    huge.maxSpeed = -1.5e300;
    out.clear();
    appendStatsCsvLine(out, huge);
    EXPECT_EQ(std::count(out.begin(), out.end(), ','), 12);
    EXPECT_EQ(out.substr(0, 52), "1970/01/01 00:10:00,1970/01/01 00:20:00,3,3,,,-15000");
    const std::string pressure = out.substr(out.rfind(',') + 1);
    EXPECT_EQ(pressure.size(), 301u + 3 + 1); // digits, ".00", line end
    EXPECT_EQ(pressure.substr(0, 10), "1000000000");
    EXPECT_EQ(pressure.substr(pressure.size() - 4), ".00\n");
}

TEST(StatsCsv, ConvertsARecordFilePeriodByPeriod)
{
    TempDir dir;
    writeFile(dir.file("r.ivt"),
              line("2024/03/05 07:09:58", "    4.00", "  350.0 ") +
                  line("2024/03/05 07:09:59", "    4.00", "   10.0 ") +
                  line("2024/03/05 07:10:00", "    2.00", "   90.0 ", "    _err") +
                  line("2024/03/05 07:10:01", "    _ofl", "   90.0 ") +
                  "\r\r\n" + // an empty line is no row
                  line("2024/03/05 07:10:02", "    6.00", "   90.0 ") +
                  line("2024/03/05 07:10:03", "    1.00", "   90.0 "));
    const ToolRun run = convert(dir, "--stats " + dir.file("r.ivt"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, kTitles +
                           "2024/03/05 07:00:00,2024/03/05 07:10:00,2,0,4.00,4.00,4.00,3.94,0.0,"
                           "10.0,,20.00,1000.00\n"
                           "2024/03/05 07:10:00,2024/03/05 07:20:00,4,1,3.00,1.00,6.00,3.00,"
                           "90.0,0.0,,20.00,1000.00\n");

    // A period of one hour, written to a file; the same rows give one line.
    const ToolRun hourly =
        convert(dir, "--stats 1h " + dir.file("r.ivt") + " " + dir.file("s.csv"));
    EXPECT_EQ(hourly.exitCode, 0);
    EXPECT_EQ(hourly.out, "");
    const std::string csv = readFile(dir.file("s.csv"));
    EXPECT_EQ(csv.substr(0, kTitles.size()), kTitles);
    EXPECT_EQ(csv.substr(kTitles.size(), 44), "2024/03/05 07:00:00,2024/03/05 08:00:00,6,1,");
}

TEST(StatsCsv, BadInputEndsWithOneLineAndKeepsExistingFiles)
{
    TempDir dir;
    writeFile(dir.file("r.ivt"), line("2024/03/05 07:09:58", "    4.00", "  350.0 ") +
                                     "no date-time#    1.00   10.0 \r\r\n");
    writeFile(dir.file("keep.csv"), "older results");
    struct Case {
        std::string arguments;
        int exitCode;
        std::string error; // the start of the message
    };
    const std::vector<Case> cases = {
        {"--stats", 2, "usage: ventora-convert --stats"},
        {"--stats 7m " + dir.file("r.ivt"), 2, "ventora-convert: 7m: not a statistics period"},
        {"--stats " + dir.file("r.lvt"), 2,
         "ventora-convert: " + dir.file("r.lvt") + ": statistics are made from a record (.ivt)"},
        {"--stats " + dir.file("missing.ivt") + " " + dir.file("keep.csv"), 1,
         "ventora-convert: " + dir.file("missing.ivt") +
             ": ERROR: Unable to open selected file (No such file or directory)"},
        {"--stats " + dir.file("r.ivt") + " " + dir.file("r.ivt"), 2,
         "ventora-convert: " + dir.file("r.ivt") + ": is the input file"},
        {"--stats " + dir.file("r.ivt") + " /dev/full", 1,
         "ventora-convert: /dev/full: cannot write: No space left on device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = convert(dir, c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err.substr(0, c.error.size()), c.error);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'),
                  c.exitCode == 2 && c.arguments == "--stats" ? 3 : 1);
    }
    EXPECT_EQ(readFile(dir.file("keep.csv")), "older results");
    EXPECT_EQ(readFile(dir.file("r.ivt")).substr(0, 19), "2024/03/05 07:09:58");

    // Rows without a date-time are left out, and the user is told how many.
    const ToolRun run = convert(dir, "--stats " + dir.file("r.ivt"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "ventora-convert: " + dir.file("r.ivt") +
                           ": 1 of 2 rows left out: no date-time of the form YYYY/MM/DD "
                           "HH:MM:SS\n");
    EXPECT_EQ(run.out.substr(kTitles.size(), 44), "2024/03/05 07:00:00,2024/03/05 07:10:00,1,0,");
}

// A conversion that cannot be written whole (a full disk) leaves an older output as it was, and
// no unfinished file beside it.
TEST(StatsCsv, AFailedWriteLeavesTheOlderOutputAsItWas)
{
    TempDir dir;
    std::string lines;
    for (int minute = 0; minute < 300; ++minute) {
        char dateTime[24];
        std::snprintf(dateTime, sizeof dateTime, "2024/03/05 %02d:%02d:00", minute / 60,
                      minute % 60);
        lines += line(dateTime, "    4.00", "  350.0 ");
    }
    writeFile(dir.file("r.ivt"), lines);
    writeFile(dir.file("keep.csv"), "older results");
    const ToolRun run =
        convert(dir, "--stats 1m " + dir.file("r.ivt") + " " + dir.file("keep.csv"), 4);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err,
              "ventora-convert: " + dir.file("keep.csv") + ": cannot write: File too large\n");
    EXPECT_EQ(readFile(dir.file("keep.csv")), "older results");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"keep.csv", "r.ivt", "stderr", "stdout"}));
}
