// ventora-record as a station runs it, against the paced simulator on a pseudo-terminal: what it
// records byte for byte, its CSV echo, the stop and reopen signals, and bad use.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "files/CsvWriter.h"
#include "tests/serial/PtyPair.h"
#include "tests/support/RecordProcess.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TextShape.h"
#include "tests/support/WaitFor.h"

namespace {

// The identification reply of the simulator's RS232 instrument: what connects the recorder.
const std::string kIdentReply = "Vavizi232&m/s&\r";

using Texts = std::vector<std::string>;

struct RecordedLine {
    std::string dateTime;
    std::string text;
};

// The lines of a recording file; every byte must belong to a whole line of the recording layout.
std::vector<RecordedLine> recordedLines(const std::string& path)
{
    const std::string bytes = std::filesystem::exists(path) ? readFile(path) : std::string();
    std::vector<RecordedLine> lines;
    EXPECT_EQ(bytes.size() % 127, 0u) << path << " ends in a partial line";
    for (std::size_t at = 0; at + 127 <= bytes.size(); at += 127) {
        EXPECT_TRUE(hasShape(bytes.substr(at, 20), "9999/99/99 99:99:99#")) << at;
        EXPECT_EQ(bytes.substr(at + 124, 3), "\r\r\n") << at;
        lines.push_back({bytes.substr(at, 19), bytes.substr(at + 20, 104)});
    }
    return lines;
}

std::size_t lineCount(const std::string& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::size_t>(size / 127);
}

Texts textsOf(const std::vector<RecordedLine>& lines)
{
    Texts texts;
    for (const RecordedLine& line : lines)
        texts.push_back(line.text);
    return texts;
}

// The recorder's log without the time at the start of each line.
Texts logTexts(const std::string& path)
{
    Texts texts;
    std::istringstream in(std::filesystem::exists(path) ? readFile(path) : std::string());
    for (std::string line; std::getline(in, line);) {
        EXPECT_TRUE(hasShape(line.substr(0, 20), "9999/99/99 99:99:99 ")) << line;
        texts.push_back(line.substr(20));
    }
    return texts;
}

bool logHas(const std::string& path, const std::string& text)
{
    const Texts texts = logTexts(path);
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

bool startsWith(const Texts& texts, const Texts& prefix)
{
    return texts.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), texts.begin());
}

struct StopCase {
    const char* name;
    int signal;
    bool search; // the default search over COM1-COM3 instead of --port and --baud
    int baud;
    int periodMs;
    std::size_t lines;
};

void PrintTo(const StopCase& c, std::ostream* out) { *out << c.name; }

class StopSignal : public ::testing::TestWithParam<StopCase> {
protected:
    void TearDown() override
    {
        for (int n = 1; n <= 3; ++n)
            ::unsetenv(("VENTORA_COM" + std::to_string(n)).c_str());
    }
    TempDir dir;
};

TEST_P(StopSignal, RecordsWhatWasSentByteForByteAndLeavesTheFileComplete)
{
    const StopCase c = GetParam();
    const std::string link = dir.file("tty");
    SimProcess sim({"--mode", "232", "--baud", std::to_string(c.baud), "--period",
                    std::to_string(c.periodMs), "--link", link},
                   dir.file("sim.log"));
    ASSERT_FALSE(sim.device().empty());
    const std::string out = dir.file("mast.ivt");
    std::vector<std::string> args = {"--out", out, "--echo"};
    std::string where = link;
    if (c.search) {
        ::setenv("VENTORA_COM1", dir.file("unplugged").c_str(), 1);
        ::setenv("VENTORA_COM2", sim.device().c_str(), 1);
        ::setenv("VENTORA_COM3", dir.file("unplugged").c_str(), 1);
        where = "COM2";
    } else {
        args.insert(args.end(), {"--port", link, "--baud", std::to_string(c.baud)});
    }
    RecordProcess recorder(args, dir.file("echo.csv"), dir.file("record.log"));
    ASSERT_TRUE(recorder.started());
    ASSERT_TRUE(waitFor([&] { return lineCount(out) >= c.lines; }))
        << readFile(dir.file("record.log"));
    recorder.signal(c.signal);
    EXPECT_EQ(recorder.wait(5000), 0);
    sim.stop();

    const std::vector<RecordedLine> lines = recordedLines(out);
    const Texts sent = sim.dataSentAfter(kIdentReply);
    EXPECT_GE(lines.size(), c.lines);
    // The simulator streamed on after the stop; what the recorder got is the start of it.
    EXPECT_TRUE(startsWith(sent, textsOf(lines)))
        << lines.size() << " recorded, " << sent.size() << " sent";
    std::string echo;
    for (const RecordedLine& line : lines)
        echo += csvSampleLine(line.dateTime, line.text);
    EXPECT_EQ(readFile(dir.file("echo.csv")), echo);

    const Texts log = logTexts(dir.file("record.log"));
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0], "recording to " + out);
    EXPECT_EQ(log[1], c.search ? "searching COM1-COM3 at every rate"
                               : "searching " + link + " at " + std::to_string(c.baud) + " baud");
    const std::string found =
        "found the instrument on " + where + ": RS232 at " + std::to_string(c.baud) + " baud";
    EXPECT_NE(std::find(log.begin(), log.end(), found), log.end());
    if (c.search) { // the device and the reason beside the engine's message
        EXPECT_EQ(log[2], "ERROR: Unable to open COM1. (" + dir.file("unplugged") +
                              ": No such file or directory)");
    }
    EXPECT_EQ(log[log.size() - 2], c.signal == SIGINT ? "SIGINT: stopping" : "SIGTERM: stopping");
    EXPECT_EQ(log.back(), "stopped after " + std::to_string(lines.size()) + " samples");
}

INSTANTIATE_TEST_SUITE_P(
    Record, StopSignal,
    ::testing::Values(StopCase{"SigtermOnALinkAt115200", SIGTERM, false, 115200, 50, 20},
                      StopCase{"SigintAfterTheSearchFoundCom2", SIGINT, true, 9600, 250, 6}),
    [](const auto& info) { return std::string(info.param.name); });

class RecordProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim = std::make_unique<SimProcess>(std::vector<std::string>{"--mode", "232", "--baud",
                                                                    "115200", "--period", "50",
                                                                    "--link", link},
                                           dir.file("sim.log"));
        ASSERT_FALSE(sim->device().empty());
    }
    std::vector<std::string> linkArgs() const
    {
        return {"--port", link, "--baud", "115200", "--out", out};
    }

    TempDir dir;
    const std::string link = dir.file("tty");
    const std::string out = dir.file("mast.ivt");
    std::unique_ptr<SimProcess> sim;
};

// logrotate moves the file away and sends SIGHUP: the file is there again at once, and the
// lines before and after the move are all recorded, each once.
TEST_F(RecordProgram, SighupOpensTheFileAgainAfterLogrotateMovedIt)
{
    RecordProcess recorder(linkArgs(), "/dev/null", dir.file("record.log"));
    ASSERT_TRUE(waitFor([&] { return lineCount(out) >= 10; }));
    std::filesystem::rename(out, out + ".1");
    recorder.signal(SIGHUP);
    ASSERT_TRUE(waitFor(
        [&] { return logHas(dir.file("record.log"), "SIGHUP: " + out + " opened again"); }));
    ASSERT_TRUE(waitFor([&] { return lineCount(out) >= 10; }));
    recorder.signal(SIGTERM);
    EXPECT_EQ(recorder.wait(5000), 0);
    sim->stop();

    Texts recorded = textsOf(recordedLines(out + ".1"));
    const Texts after = textsOf(recordedLines(out));
    recorded.insert(recorded.end(), after.begin(), after.end());
    EXPECT_TRUE(startsWith(sim->dataSentAfter(kIdentReply), recorded)) << recorded.size();
}

// A reader of the echo that goes away ends the echo, not the recording.
TEST_F(RecordProgram, EchoReaderThatLeavesDoesNotStopTheRecording)
{
    const std::string fifo = dir.file("echo.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    auto args = linkArgs();
    args.push_back("--echo");
    RecordProcess recorder(args, fifo, dir.file("record.log"));
    std::string echoed;
    ASSERT_TRUE(waitFor([&] {
        char buffer[4096];
        pollfd pfd{reader, POLLIN, 0};
        if (::poll(&pfd, 1, 0) > 0)
            if (const ssize_t n = ::read(reader, buffer, sizeof buffer); n > 0)
                echoed.append(buffer, static_cast<std::size_t>(n));
        return std::count(echoed.begin(), echoed.end(), '\n') >= 3;
    }));
    ::close(reader);
    ASSERT_TRUE(waitFor([&] {
        return logHas(dir.file("record.log"),
                      "standard output closed (Broken pipe): echo stops, recording goes on");
    }));
    const std::size_t before = lineCount(out);
    EXPECT_TRUE(waitFor([&] { return lineCount(out) >= before + 5; }));
    recorder.signal(SIGTERM);
    EXPECT_EQ(recorder.wait(5000), 0);
    recordedLines(out); // whole lines only
}

// The operator's terminal stops reading (Ctrl+S, a frozen ssh session) for 20 s while the echo and
// the log go to it: every line sent meanwhile is recorded, the link stays up, and SIGTERM still
// stops the recorder at once though nothing it writes to the terminal can get out.
TEST_F(RecordProgram, AHeldTerminalHoldsNeitherTheRecordingNorTheStop)
{
    PtyPair terminal;
    auto args = linkArgs();
    args.push_back("--echo");
    RecordProcess recorder(args, terminal.slavePath(), terminal.slavePath());
    std::string shown;
    const auto reading = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    while (std::chrono::steady_clock::now() < reading)
        shown += terminal.receive(200, 200);
    EXPECT_NE(shown.find("found the instrument on " + link), std::string::npos) << shown;
    std::this_thread::sleep_for(std::chrono::seconds(20));
    recorder.signal(SIGTERM);
    EXPECT_EQ(recorder.wait(2000), 0) << "stops while its terminal is held";
    sim->stop();

    const Texts recorded = textsOf(recordedLines(out));
    EXPECT_GE(recorded.size(), 400u);
    EXPECT_TRUE(startsWith(sim->dataSentAfter(kIdentReply), recorded)) << recorded.size();
}

// A file size limit (ulimit -f, LimitFSIZE=) reached inside a line, with SIGXFSZ at its default
// disposition: the recorder is not killed, cuts the partial line off, logs once, counts the
// samples lost and records again as soon as the limit is raised.
TEST_F(RecordProgram, AFileSizeLimitIsAFullDiskNotAnEnd)
{
    constexpr std::size_t kFitting = 10;
    const std::string log = dir.file("record.log");
    RecordProcess recorder(linkArgs(), "/dev/null", log, kFitting * 127 + 60);
    const std::string failing = "ERROR: Unable to open recording file. " + out +
                                ": samples are lost until it can be written";
    ASSERT_TRUE(waitFor([&] { return logHas(log, failing); })) << readFile(log);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(recorder.setFileSizeLimit(RLIM_INFINITY));
    ASSERT_TRUE(waitFor([&] { return lineCount(out) >= kFitting + 10; }));
    recorder.signal(SIGTERM);
    EXPECT_EQ(recorder.wait(5000), 0);
    sim->stop();

    // One line when writing fails, one when it works again, with the count of samples lost:
    // exactly the gap in what was sent.
    const Texts texts = logTexts(log);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), failing), 1);
    const Texts recorded = textsOf(recordedLines(out));
    const Texts sent = sim->dataSentAfter(kIdentReply);
    ASSERT_GE(recorded.size(), kFitting + 10);
    const auto resumed = std::find(sent.begin(), sent.end(), recorded[kFitting]);
    const auto lost = resumed - sent.begin() - static_cast<std::ptrdiff_t>(kFitting);
    EXPECT_TRUE(logHas(log, "recording to " + out + " again; " + std::to_string(lost) +
                                " samples were lost"));
    EXPECT_GE(lost, 1);
    EXPECT_TRUE(std::equal(recorded.begin(), recorded.begin() + kFitting, sent.begin()));
    ASSERT_LE(recorded.size() - kFitting, static_cast<std::size_t>(sent.end() - resumed));
    EXPECT_TRUE(std::equal(recorded.begin() + kFitting, recorded.end(), resumed));
}

TEST(RecordProgramUse, BadUseExitsWithOneLineAndHelpReadsWell)
{
    TempDir dir;
    // Outputs that are no regular file are refused at once, even a FIFO nobody reads (whose
    // open would wait for a reader).
    const std::string fifo = dir.file("read.fifo");
    const std::string lonelyFifo = dir.file("lonely.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(lonelyFifo.c_str(), 0600), 0);
    const int fifoReader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fifoReader, 0);
    struct Row {
        std::vector<std::string> args;
        int status;
        std::string stderrStart;
    };
    const Row rows[] = {
        {{"--baud", "1200"}, 2, "ventora-record: invalid value '1200' for option '--baud': "},
        {{"--rotate"}, 2, "ventora-record: option '--rotate' needs a value: daily"},
        {{"--port", "COM1", "extra"}, 2, "ventora-record: unexpected argument 'extra'"},
        {{"--out", dir.file("no/such/folder.ivt")},
         1,
         "ventora-record: cannot write " + dir.file("no/such/folder.ivt") +
             ": No such file or directory"},
        {{"--out", fifo}, 1, "ventora-record: cannot write " + fifo + ": not a regular file"},
        {{"--out", lonelyFifo},
         1,
         "ventora-record: cannot write " + lonelyFifo + ": not a regular file"},
        {{"--out", "/dev/null"}, 1, "ventora-record: cannot write /dev/null: not a regular file"},
        {{"--help"}, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        RecordProcess recorder(row.args, dir.file("out.txt"), dir.file("err.txt"));
        EXPECT_EQ(recorder.wait(5000), row.status);
        const std::string err = readFile(dir.file("err.txt"));
        if (row.status == 0) {
            EXPECT_EQ(err, "");
            EXPECT_EQ(readFile(dir.file("out.txt")).rfind("Usage: ventora-record [options]\n", 0),
                      0u);
            continue;
        }
        EXPECT_EQ(err.rfind(row.stderrStart, 0), 0u) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(readFile(dir.file("out.txt")), "");
    }
    ::close(fifoReader);
}

} // namespace
