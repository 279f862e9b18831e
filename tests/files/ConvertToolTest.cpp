#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "files/CsvWriter.h"
#include "files/RecordFileReader.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolRun.h"

namespace {

const std::string kLine = "2024/03/05 07:08:09#" + std::string(104, '7') + "\r\r\n";

} // namespace

TEST(ConvertTool, WritesTheSameCsvToStandardOutputOrAFile)
{
    TempDir dir;
    writeFile(dir.file("r.ivt"), kLine + kLine);
    ToolRun toStdout = convert(dir, dir.file("r.ivt"));
    EXPECT_EQ(toStdout.exitCode, 0);
    EXPECT_EQ(toStdout.err, "");
    EXPECT_EQ(toStdout.out.substr(toStdout.out.find('\n') + 1),
              "2024/03/05,07:08:09,77777777,77777777,77777777,77777777,77777777,77777777,"
              "77777777,77777777,77777777,77777777,77777777,77777777,77777777\n"
              "2024/03/05,07:08:09,77777777,77777777,77777777,77777777,77777777,77777777,"
              "77777777,77777777,77777777,77777777,77777777,77777777,77777777\n");

    ToolRun toFile = convert(dir, dir.file("r.ivt") + " " + dir.file("r.csv"));
    EXPECT_EQ(toFile.exitCode, 0);
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(readFile(dir.file("r.csv")), toStdout.out);

    writeFile(dir.file("l.lvt"), "DATE-TIME: 2024/01/02 10:00:00\r\r\n" + std::string(104, '1'));
    ToolRun log = convert(dir, dir.file("l.lvt"));
    EXPECT_EQ(log.exitCode, 0);
    EXPECT_EQ(log.out.substr(0, 20), "DATE,TIME,SoW,Azimut");
    EXPECT_NE(log.out.find("\n2024/01/02,10:00:00,11111111,"), std::string::npos);
}

TEST(ConvertTool, FailuresEndWithOneLineAndANonZeroCode)
{
    TempDir dir;
    ToolRun missing = convert(dir, dir.file("missing.ivt"));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "ventora-convert: " + dir.file("missing.ivt") +
                               ": ERROR: Unable to open selected file (No such file or directory)\n");

    ToolRun missingLog = convert(dir, dir.file("missing.lvt"));
    EXPECT_EQ(missingLog.exitCode, 1);
    EXPECT_EQ(std::count(missingLog.err.begin(), missingLog.err.end(), '\n'), 1);

    writeFile(dir.file("upper.IVT"), kLine);
    EXPECT_EQ(convert(dir, dir.file("upper.IVT")).exitCode, 2);
    EXPECT_EQ(convert(dir, "").exitCode, 2);

    // Naming the input as output would destroy it: refused, input kept.
    writeFile(dir.file("r.ivt"), kLine);
    EXPECT_EQ(convert(dir, dir.file("r.ivt") + " " + dir.file("r.ivt")).exitCode, 2);
    EXPECT_EQ(readFile(dir.file("r.ivt")), kLine);

    // A disk that fills up: the incomplete output is removed and the failure reported.
    std::string lines;
    for (int i = 0; i < 100; ++i)
        lines += kLine;
    writeFile(dir.file("big.ivt"), lines);
    ToolRun full = convert(dir, dir.file("big.ivt") + " " + dir.file("big.csv"), 4);
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err,
              "ventora-convert: " + dir.file("big.csv") + ": cannot write: File too large\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("big.csv")));
}

// A failed conversion leaves whatever stood at the output path as it was: a device, a link and
// the file it leads to, an older conversion.
TEST(ConvertTool, FailedWritesLeaveTheOutputPathAsItWas)
{
    TempDir dir;
    writeFile(dir.file("r.ivt"), kLine);
    ToolRun full = convert(dir, dir.file("r.ivt") + " /dev/full");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "ventora-convert: /dev/full: cannot write: No space left on device\n");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));

    std::string lines;
    for (int i = 0; i < 100; ++i)
        lines += kLine;
    writeFile(dir.file("big.ivt"), lines);
    writeFile(dir.file("old.csv"), "an older conversion");
    std::filesystem::create_symlink("old.csv", dir.path() / "link.csv");
    for (const char* output : {"old.csv", "link.csv"}) {
        EXPECT_EQ(convert(dir, dir.file("big.ivt") + " " + dir.file(output), 4).exitCode, 1)
            << output;
        EXPECT_EQ(readFile(dir.file("old.csv")), "an older conversion") << output;
        EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.csv")) << output;
    }
    // Nothing else is left in the folder: the unfinished new files are gone.
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"big.ivt", "link.csv", "old.csv", "r.ivt",
                                                     "stderr", "stdout"}));
}

// A file larger than the machine's memory is refused at once with one line, for either format.
TEST(ConvertTool, HugeFileIsRefusedWithAMessage)
{
    TempDir dir;
    for (const char* name : {"big.ivt", "big.lvt"}) {
        writeFile(dir.file(name), "");
        std::filesystem::resize_file(dir.file(name), std::uintmax_t{1} << 40); // sparse: 1 TiB
        ToolRun run = convert(dir, dir.file(name) + " " + dir.file("out.csv"));
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_NE(run.err.find("(File too large)\n"), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.csv")));
    }
}

TEST(ConvertTool, NonFiniteFieldsAreWrittenAsZero)
{
    TempDir dir;
    std::string line = "2024/03/05 07:08:09#";
    for (const char* field : {"nan", "inf", "-inf", "1e999", "-1e999", "12.50", "NaN(7)",
                              "infinity", "1", "2", "3", "4", "1e-999"})
        line += std::string(8 - std::strlen(field), ' ') + field;
    writeFile(dir.file("r.ivt"), line + "\r\r\n");
    ToolRun run = convert(dir, dir.file("r.ivt"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.substr(run.out.find('\n') + 1),
              "2024/03/05,07:08:09,0,0,0,0,0,12.5,0,0,1,2,3,4,0\n");
}
