#include "bench/record/RecordSoak.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "tests/support/RecordProcess.h"
#include "tests/support/SimProcess.h"

namespace {

using Clock = std::chrono::steady_clock;
using Texts = std::vector<std::string>;

const std::string kIdentReply = "Vavizi232&m/s&\r";
const std::string kIdentLogged = "> Vavizi232&m/s&\\r";

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Reads a simulator's log as it grows and counts the data lines sent after its last
// identification reply, which are the lines sent while the recorder was connected.
class CSentCounter {
public:
    explicit CSentCounter(std::string path) : path_(std::move(path)) {}

    long update()
    {
        std::ifstream in(path_, std::ios::binary);
        in.seekg(offset_);
        std::string line;
        while (std::getline(in, line)) {
            if (in.eof())
                break; // a line still being written: read again next time
            offset_ += static_cast<std::streamoff>(line.size() + 1);
            if (line == kIdentLogged)
                count_ = 0;
            else if (line.size() == 2 + 104 + 2 && line.rfind("> ", 0) == 0 &&
                     line.compare(line.size() - 2, 2, "\\r") == 0)
                ++count_;
        }
        return count_;
    }

private:
    std::string path_;
    std::streamoff offset_ = 0;
    long count_ = 0;
};

long countOf(const std::string& path, const std::string& text)
{
    std::ifstream in(path);
    std::string line;
    long count = 0;
    while (std::getline(in, line))
        count += line.find(text) != std::string::npos ? 1 : 0;
    return count;
}

// Waits until the recorder's log holds `count` lines with text; false after timeoutMs.
bool waitForLog(const std::string& path, const std::string& text, long count, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (countOf(path, text) < count) {
        if (Clock::now() > deadline)
            return false;
        pause(10);
    }
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The data texts of the recording file; lines without the recording layout are counted.
Texts recordedTexts(const std::string& path, long* malformed)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Texts texts;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\r\n", start);
        const std::string line =
            bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? bytes.size() : end + 3;
        static const std::string kShape = "9999/99/99 99:99:99#";
        bool good = end != std::string::npos && line.size() == 20 + 104;
        for (std::size_t i = 0; good && i < kShape.size(); ++i)
            good = kShape[i] == '9' ? isDigit(line[i]) : line[i] == kShape[i];
        if (good)
            texts.push_back(line.substr(20));
        else
            ++*malformed;
    }
    return texts;
}

// Reads a FIFO at a fixed number of bytes a second until stopped.
class CSlowReader {
public:
    CSlowReader(const std::string& fifo, int bytesPerSecond)
    {
        ::mkfifo(fifo.c_str(), 0600);
        // Open before the recorder, whose open for writing then finds its reader.
        fd_ = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        thread_ = std::thread([this, bytesPerSecond] {
            std::string buffer(static_cast<std::size_t>(bytesPerSecond), '\0');
            while (!stop_.load()) {
                const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
                if (n > 0)
                    read_ += n;
                pause(1000);
            }
        });
    }
    ~CSlowReader()
    {
        stop_.store(true);
        thread_.join();
        ::close(fd_);
    }
    long bytesRead() const { return read_.load(); }

private:
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<long> read_{0};
    std::thread thread_;
};

} // namespace

SoakResult runSoak(const SoakConfig& config)
{
    namespace fs = std::filesystem;
    SoakResult result;
    fs::create_directories(config.workDir);
    for (const char* name : {"soak.ivt", "record.log", "record.out", "echo.fifo", "tty"})
        fs::remove(fs::path(config.workDir) / name);
    const std::string link = config.workDir + "/tty";
    const std::string out = config.workDir + "/soak.ivt";
    const std::string log = config.workDir + "/record.log";
    const auto simArgs = [&](int run) {
        return std::vector<std::string>{"--mode",   "232",
                                        "--baud",   std::to_string(config.baud),
                                        "--period", std::to_string(config.periodMs),
                                        "--link",   link,
                                        "--seed",   std::to_string(run)};
    };

    std::vector<std::unique_ptr<SimProcess>> sims;
    sims.push_back(std::make_unique<SimProcess>(simArgs(1), config.workDir + "/sim1.log"));
    if (sims.back()->device().empty()) {
        result.problems.push_back("the simulator did not start");
        return result;
    }
    std::vector<std::string> args = {"--port", link, "--baud", std::to_string(config.baud),
                                     "--out", out};
    std::string stdoutPath = config.workDir + "/record.out";
    std::unique_ptr<CSlowReader> echoReader;
    if (config.echoReaderBytesPerSecond > 0) {
        args.push_back("--echo");
        stdoutPath = config.workDir + "/echo.fifo";
        echoReader = std::make_unique<CSlowReader>(stdoutPath, config.echoReaderBytesPerSecond);
    }
    const auto start = Clock::now();
    RecordProcess recorder(args, stdoutPath, log);
    if (!waitForLog(log, "found the instrument", 1, 30000)) {
        result.problems.push_back("the recorder did not find the instrument");
        return result;
    }
    result.firstConnectSeconds = secondsSince(start);

    long sentSoFar = 0;
    for (int run = 1;; ++run) {
        CSentCounter counter(config.workDir + "/sim" + std::to_string(run) + ".log");
        const long wanted = std::min(config.replugEvery, config.lines - sentSoFar);
        long sent = 0;
        long lastSent = -1;
        auto lastProgress = Clock::now();
        while ((sent = counter.update()) < wanted) {
            if (sent != lastSent) {
                lastSent = sent;
                lastProgress = Clock::now();
            } else if (secondsSince(lastProgress) > 30) {
                result.problems.push_back("run " + std::to_string(run) + " stalled after " +
                                          std::to_string(sent) + " lines");
                return result;
            }
            if (run == 1 && result.residentStartKb < 0 && secondsSince(start) > 5)
                result.residentStartKb = recorder.residentKb();
            pause(200);
        }
        sentSoFar += sent;
        if (sentSoFar >= config.lines) {
            result.residentEndKb = recorder.residentKb();
            result.cpuSeconds = recorder.cpuSeconds();
            result.wallSeconds = secondsSince(start);
        }
        sims.back()->stop(); // the unplug: the recorder sees the line hang up
        const auto unplugged = Clock::now();
        if (!waitForLog(log, "lost the link", run, 10000)) {
            result.problems.push_back("the recorder did not notice unplug " + std::to_string(run));
            return result;
        }
        if (sentSoFar >= config.lines)
            break;
        sims.push_back(std::make_unique<SimProcess>(
            simArgs(run + 1), config.workDir + "/sim" + std::to_string(run + 1) + ".log"));
        if (!waitForLog(log, "found the instrument", run + 1, 90000)) {
            result.problems.push_back("the recorder did not find the instrument again after "
                                      "replug " +
                                      std::to_string(run));
            return result;
        }
        result.reconnectSeconds.push_back(secondsSince(unplugged));
        if (config.progress)
            config.progress("run " + std::to_string(run) + ": " + std::to_string(sent) +
                            " lines sent while connected; found again after " +
                            std::to_string(result.reconnectSeconds.back()) + " s");
    }

    recorder.signal(SIGTERM);
    result.exitStatus = recorder.wait(10000);
    if (echoReader)
        result.echoBytesRead = echoReader->bytesRead();
    if (result.exitStatus != 0)
        result.problems.push_back("the recorder ended with status " +
                                  std::to_string(result.exitStatus) + " after SIGTERM");

    const Texts recorded = recordedTexts(out, &result.malformedLines);
    result.recorded = static_cast<long>(recorded.size());
    // Each run's lines must be recorded in order, whole; only a run's last line may be missing
    // (in flight at its hang-up).
    std::size_t next = 0;
    for (std::size_t run = 0; run < sims.size(); ++run) {
        const Texts sent = sims[run]->dataSentAfter(kIdentReply);
        result.sent += static_cast<long>(sent.size());
        for (std::size_t i = 0; i < sent.size(); ++i) {
            if (next < recorded.size() && recorded[next] == sent[i]) {
                ++next;
            } else if (i + 1 == sent.size()) {
                ++result.lostInFlight;
            } else {
                ++result.lostMidRun;
                result.problems.push_back("run " + std::to_string(run + 1) + ": line " +
                                          std::to_string(i + 1) + " of " +
                                          std::to_string(sent.size()) + " not recorded");
            }
        }
    }
    result.strayLines = static_cast<long>(recorded.size() - next);
    if (result.lostMidRun != 0)
        result.problems.push_back(std::to_string(result.lostMidRun) + " lines lost mid-run");
    if (result.strayLines != 0)
        result.problems.push_back(std::to_string(result.strayLines) + " recorded lines not sent");
    if (result.malformedLines != 0)
        result.problems.push_back(std::to_string(result.malformedLines) + " malformed lines");
    const std::string stopped = "stopped after " + std::to_string(result.recorded) + " samples";
    if (countOf(log, stopped) != 1)
        result.problems.push_back("the recorder's log does not end with '" + stopped + "'");
    return result;
}

std::string SoakResult::report(const SoakConfig& config) const
{
    std::ostringstream out;
    char buffer[160];
    const auto line = [&](const char* name, const std::string& value) {
        std::snprintf(buffer, sizeof buffer, "  %-34s %s\n", name, value.c_str());
        out << buffer;
    };
    const auto fixed = [](double value, int decimals) {
        char text[32];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        return std::string(text);
    };
    out << "ventora-record soak: " << config.lines << " lines at " << 1000 / config.periodMs
        << " lines/s, RS232 " << config.baud << " baud, a replug every " << config.replugEvery
        << " lines\n";
    line("lines sent while connected", std::to_string(sent));
    line("lines recorded", std::to_string(recorded));
    line("lines lost in flight at a hang-up", std::to_string(lostInFlight));
    line("lines lost otherwise", std::to_string(lostMidRun));
    line("partial or malformed lines in file", std::to_string(malformedLines));
    line("recorded lines never sent", std::to_string(strayLines));
    std::string reconnects = std::to_string(reconnectSeconds.size());
    if (!reconnectSeconds.empty()) {
        Texts each;
        for (double seconds : reconnectSeconds)
            each.push_back(fixed(seconds, 2));
        reconnects += " (s:";
        for (const std::string& text : each)
            reconnects += " " + text;
        reconnects += ")";
    }
    line("reconnections", reconnects);
    line("first connection after start", fixed(firstConnectSeconds, 2) + " s");
    line("recorder CPU", fixed(wallSeconds > 0 ? 100 * cpuSeconds / wallSeconds : 0, 2) +
                             " % of one core (" + fixed(cpuSeconds, 1) + " s in " +
                             fixed(wallSeconds, 0) + " s)");
    line("recorder resident memory", std::to_string(residentStartKb) + " kB at start, " +
                                         std::to_string(residentEndKb) + " kB at end");
    line("exit status after SIGTERM", std::to_string(exitStatus));
    if (config.echoReaderBytesPerSecond > 0) {
        line("echo", "to a FIFO read at " + std::to_string(config.echoReaderBytesPerSecond) +
                         " bytes/s: " + std::to_string(echoBytesRead) + " bytes read");
    }
    for (const std::string& problem : problems)
        out << "  PROBLEM: " << problem << "\n";
    return out.str();
}
