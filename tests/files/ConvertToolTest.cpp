#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

#include "files/CsvWriter.h"
#include "files/RecordFileReader.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

namespace {

struct ToolRun {
    int exitCode;
    std::string out, err;
};

// Runs ventora-convert with the given arguments (already quoted for the shell).
ToolRun convert(const TempDir& dir, const std::string& arguments)
{
    std::string command = std::string(VENTORA_CONVERT) + " " + arguments + " >" +
                          dir.file("stdout") + " 2>" + dir.file("stderr");
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(dir.file("stdout")),
            readFile(dir.file("stderr"))};
}

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
    std::string limited = "sh -c 'ulimit -f 4 && exec " + std::string(VENTORA_CONVERT) + " " +
                          dir.file("big.ivt") + " " + dir.file("big.csv") + "' >" +
                          dir.file("stdout") + " 2>" + dir.file("stderr");
    int status = std::system(limited.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readFile(dir.file("stderr")),
              "ventora-convert: " + dir.file("big.csv") + ": cannot write: File too large\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("big.csv")));
}
