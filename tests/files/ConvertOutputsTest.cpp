// ventora-convert's outputs as users meet them: each writer (CSV, workbook, statistics) on each
// kind of output, whole or failing, and interrupted; and the inputs it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tests/support/OutputPlace.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolRun.h"

extern char** environ;

namespace {

// 100 samples a minute apart: 12 kB of CSV, 100 lines of statistics.
std::string recordFile()
{
    std::string text;
    for (int minute = 0; minute < 100; ++minute) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "2024/03/05 %02d:%02d:09#", minute / 60, minute % 60);
        text += stamp + std::string(104, '7') + "\r\r\n";
    }
    return text;
}

int lineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

enum class Failure { None, SizeLimit };

} // namespace

TEST(ConvertOutputs, WritersByOutputsAndFailures)
{
    const struct Writer {
        const char* what;
        const char* arguments; // before the output
        const char* output;    // the output's name in the folder
        const char* header;    // how the output starts
    } writers[] = {{"CSV", "", "out.csv", "DATE,TIME"},
                   {"workbook", "", "out.xlsx", "PK"},
                   {"statistics", "--stats 1m ", "out.csv", "START,END"}};
    for (const Writer& writer : writers) {
        for (OutputKind kind : {OutputKind::NewName, OutputKind::OlderFile, OutputKind::Link,
                                OutputKind::Fifo, OutputKind::Device, OutputKind::FullDevice}) {
            for (Failure failure : {Failure::None, Failure::SizeLimit}) {
                if (failure == Failure::SizeLimit &&
                    (kind == OutputKind::Fifo || kind == OutputKind::Device ||
                     kind == OutputKind::FullDevice))
                    continue; // no file that grows
                SCOPED_TRACE(std::string(writer.what) + " to " + outputKindName(kind) +
                             (failure == Failure::SizeLimit ? ", size limit" : ""));
                TempDir dir;
                writeFile(dir.file("in.ivt"), recordFile());
                COutputPlace place(dir, kind, writer.output);
                const ToolRun run =
                    convert(dir, writer.arguments + dir.file("in.ivt") + " " + place.path(),
                            failure == Failure::SizeLimit ? 4 : 0);
                const bool fails = failure == Failure::SizeLimit || kind == OutputKind::FullDevice;
                EXPECT_EQ(run.exitCode, fails ? 1 : 0);
                // One line of ours on a failure; nothing of libxlsxwriter's.
                EXPECT_EQ(lineCount(run.err), fails ? 1 : 0) << run.err;
                EXPECT_EQ(run.err.find("[ERROR]"), std::string::npos) << run.err;
                if (fails) {
                    EXPECT_TRUE(place.unharmed());
                } else if (kind != OutputKind::Device) {
                    EXPECT_TRUE(place.received().starts_with(writer.header));
                }
            }
        }
    }
}

// SIGINT or SIGTERM while the output is written: the new file goes, the older one stays, and
// the program ends as the signal ends it (the shell's 130 and 143).
TEST(ConvertOutputs, InterruptedConversionRemovesItsNewFile)
{
    for (int signal : {SIGINT, SIGTERM}) {
        for (OutputKind kind : {OutputKind::NewName, OutputKind::OlderFile}) {
            SCOPED_TRACE(std::to_string(signal) + " " + outputKindName(kind));
            TempDir dir;
            COutputPlace place(dir, kind, "out.csv");
            // The statistics read a FIFO that is kept open here, so the conversion waits for
            // more samples with its new file begun.
            ASSERT_EQ(::mkfifo(dir.file("in.ivt").c_str(), 0600), 0);
            const int input = ::open(dir.file("in.ivt").c_str(), O_RDWR | O_CLOEXEC);
            ASSERT_GE(input, 0);
            const std::string samples = recordFile();
            ASSERT_EQ(::write(input, samples.data(), samples.size()),
                      static_cast<ssize_t>(samples.size()));
            const std::string inputPath = dir.file("in.ivt");
            const char* argv[] = {VENTORA_CONVERT, "--stats", inputPath.c_str(),
                                  place.path().c_str(), nullptr};
            pid_t child = 0;
            ASSERT_EQ(::posix_spawn(&child, VENTORA_CONVERT, nullptr, nullptr,
                                    const_cast<char**>(argv), environ),
                      0);
            auto begun = [&] {
                for (const std::string& name : dir.names())
                    if (name.starts_with(".out.csv."))
                        return true;
                return false;
            };
            for (int wait = 0; wait < 1000 && !begun(); ++wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            ASSERT_TRUE(begun());
            ::kill(child, signal);
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ::close(input);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
            EXPECT_EQ(128 + WTERMSIG(status), signal == SIGINT ? 130 : 143);
            std::filesystem::remove(inputPath);
            EXPECT_TRUE(place.unharmed());
        }
    }
}

// Inputs that cannot be read whole, or that would swell far beyond their size, end with the
// open-failure message and its reason, exit code 1, and no output.
TEST(ConvertOutputs, RefusedInputsWriteNothing)
{
    std::string logBlocks = "DATE-TIME: 2024/01/02 10:00:00\r\r\n";
    for (int block = 0; block < 64; ++block)
        logBlocks += std::string(104, '1') + "\r\r\n";
    for (int record = 0; record < 20000; ++record)
        logBlocks += "DATE-TIME: 2024/01/02 10:01:00\r\r\n"; // 64 blocks of nothing each
    std::string hashLines;
    for (int line = 0; line < 5000; ++line)
        hashLines += "#\n";
    // Rows a minute apart with a speed of 1e300: a line of statistics each, with its figures
    // written in full, 50 times the row's size.
    std::string minutes;
    for (int minute = 0; minute < 5000; ++minute) {
        char line[40];
        std::snprintf(line, sizeof line, "%04d/01/01 %02d:%02d:00#   1e300\n", 2000 + minute / 1440,
                      minute / 60 % 24, minute % 60);
        minutes += line;
    }
    const std::string record = "ERROR: Unable to open selected file (";
    const std::string log = "ERROR: unable to open LogInstr file. (";
    const struct Case {
        const char* what;
        const char* arguments;
        const char* input;
        std::string content; // empty: a link to `link`
        const char* link;
        std::string reason;
    } cases[] = {
        {"read error", "", "mem.ivt", "", "/proc/self/mem", record + "Input/output error)"},
        {"read error, statistics", "--stats ", "mem.ivt", "", "/proc/self/mem",
         record + "Input/output error)"},
        {"read error, log", "", "mem.lvt", "", "/proc/self/mem", log + "Input/output error)"},
        {"a folder", "", "folder.ivt", "", "/", record + "Is a directory)"},
        {"# lines", "", "hash.ivt", hashLines, nullptr,
         record + "more rows than its size allows: at most one per 20 bytes)"},
        {"a record of empty blocks", "", "blocks.lvt", logBlocks, nullptr,
         log + "the output would be more than 4 times the size of the input)"},
        {"a statistics line per row", "--stats 1m ", "minutes.ivt", minutes, nullptr,
         record + "the output would be more than 4 times the size of the input)"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        if (c.link)
            std::filesystem::create_symlink(c.link, dir.file(c.input));
        else
            writeFile(dir.file(c.input), c.content);
        COutputPlace place(dir, OutputKind::OlderFile, "out.csv");
        const ToolRun run =
            convert(dir, std::string(c.arguments) + dir.file(c.input) + " " + place.path());
        EXPECT_EQ(run.exitCode, 1) << c.what;
        EXPECT_EQ(run.err, "ventora-convert: " + dir.file(c.input) + ": " + c.reason + "\n")
            << c.what;
        EXPECT_TRUE(place.unharmed()) << c.what;
    }
}
