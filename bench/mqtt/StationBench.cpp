// bench_station_network: two figures of a station network on this machine.
// 1. Backlog: a recording of --backlog lines (1,000,000) made while no broker was there is
//    published to a local mosquitto; the rate is lines over the time until the broker has
//    acknowledged the last one (the cursor file at the end of the recording).
// 2. Latency: the paced simulator at 20 lines/s, recorder, broker, archiver; for --latency
//    lines (2,000) the time from a line's appearing in the recording file to its appearing in
//    the archive, both files watched every millisecond.
// Options: --backlog N, --latency N, --dir FOLDER.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/BrokerProcess.h"
#include "tests/support/RecordProcess.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

long sizeOf(const std::string& path) { return static_cast<long>(fileSizeOf(path)); }

// The offset of the cursor file, or -1.
long cursorOffset(const std::string& path)
{
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("offset=", 0) == 0)
            return std::atol(line.c_str() + 7);
    return -1;
}

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

int backlog(const std::string& dir, long lines)
{
    const std::string recording = dir + "/backlog.ivt";
    {
        std::ofstream out(recording, std::ios::binary);
        char line[200];
        for (long n = 0; n < lines; ++n) {
            const long s = n % 86400;
            std::snprintf(line, sizeof line, "2024/05/17 %02ld:%02ld:%02ld#%8.2f%8.1f%88s\r\r\n",
                          s / 3600, s / 60 % 60, s % 60, 1.0 + static_cast<double>(n % 500) / 100,
                          static_cast<double>(n % 360), "");
            out << line;
        }
    }
    BrokerProcess broker(dir + "/backlog-broker", {false, false, false});
    if (!broker.start())
        return 1;
    const long end = sizeOf(recording);
    const auto start = Clock::now();
    RecordProcess recorder({"--port", dir + "/no-tty", "--out", recording, "--mqtt", broker.url(),
                            "--station", "backlog"},
                           dir + "/backlog.out", dir + "/backlog.log");
    while (cursorOffset(recording + ".cursor") != end) {
        if (seconds(Clock::now() - start) > 600) {
            std::fprintf(stderr, "the backlog did not drain in 10 minutes\n");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const double took = seconds(Clock::now() - start);
    const double cpu = recorder.cpuSeconds();
    const double brokerCpu = broker.cpuSeconds();
    const long resident = recorder.residentKb();
    recorder.signal(SIGTERM);
    recorder.wait(10000);
    std::printf("backlog: %ld lines published in %.2f s: %.0f lines/s; CPU per line: recorder "
                "%.1f us, broker %.1f us; recorder resident %.1f MB\n",
                lines, took, lines / took, 1e6 * cpu / lines, 1e6 * brokerCpu / lines,
                resident / 1024.0);
    fs::remove(recording);
    return 0;
}

int latency(const std::string& dir, long lines)
{
    BrokerProcess broker(dir + "/latency-broker", {false, false, false});
    if (!broker.start())
        return 1;
    SimProcess sim({"--mode", "232", "--baud", "115200", "--period", "50", "--link",
                    dir + "/tty"},
                   dir + "/sim.log");
    RecordProcess archiver({"--subscribe", broker.url(), "--out-dir", dir + "/archive"},
                           dir + "/archiver.out", dir + "/archiver.log");
    const std::string recording = dir + "/latency.ivt";
    RecordProcess recorder({"--port", dir + "/tty", "--baud", "115200", "--out", recording,
                            "--mqtt", broker.url(), "--station", "lat"},
                           dir + "/recorder.out", dir + "/recorder.log");
    std::vector<Clock::time_point> recorded, archived;
    std::string archiveFile;
    const auto start = Clock::now();
    while (static_cast<long>(archived.size()) < lines) {
        const auto now = Clock::now();
        if (seconds(now - start) > lines / 20.0 + 60) {
            std::fprintf(stderr, "the latency run stalled\n");
            return 1;
        }
        while (static_cast<long>(recorded.size()) < sizeOf(recording) / 127)
            recorded.push_back(now);
        if (archiveFile.empty() && fs::exists(dir + "/archive/lat"))
            for (const auto& entry : fs::directory_iterator(dir + "/archive/lat"))
                if (entry.path().extension() == ".ivt")
                    archiveFile = entry.path().string();
        if (!archiveFile.empty())
            while (static_cast<long>(archived.size()) < sizeOf(archiveFile) / 127)
                archived.push_back(now);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::vector<double> ms;
    for (std::size_t i = 0; i < archived.size() && i < recorded.size(); ++i)
        ms.push_back(1000 * seconds(archived[i] - recorded[i]));
    std::sort(ms.begin(), ms.end());
    const auto at = [&ms](double share) {
        return ms[std::min(ms.size() - 1, static_cast<std::size_t>(share * ms.size()))];
    };
    std::printf("latency at 20 lines/s, recording file to archive file, %zu lines: p50 %.1f ms, "
                "p90 %.1f ms, p99 %.1f ms, max %.1f ms\n",
                ms.size(), at(0.5), at(0.9), at(0.99), ms.back());
    recorder.signal(SIGTERM);
    archiver.signal(SIGTERM);
    recorder.wait(10000);
    archiver.wait(10000);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    long backlogLines = 1000000;
    long latencyLines = 2000;
    std::string dir = "station-bench";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--backlog")
            backlogLines = std::atol(argv[i + 1]);
        else if (name == "--latency")
            latencyLines = std::atol(argv[i + 1]);
        else if (name == "--dir")
            dir = argv[i + 1];
        else {
            std::fprintf(stderr, "bench_station_network: unknown option '%s'\n", name.c_str());
            return 2;
        }
    }
    fs::remove_all(dir);
    fs::create_directories(dir);
    dir = fs::absolute(dir).string();
    if (backlogLines > 0 && backlog(dir, backlogLines) != 0)
        return 1;
    if (latencyLines > 0 && latency(dir, latencyLines) != 0)
        return 1;
    return 0;
}
