// bench_station_soak: a station network's soak. The paced simulator streams to ventora-record,
// which publishes to Debian's mosquitto; ventora-record --subscribe archives. The broker is
// stopped and started again every so many recorded lines. At the end the archive must be the
// recording byte for byte: no line lost, none twice. Options: --lines N (100000),
// --restart-every N (10000), --period MS (50: 20 lines/s), --dir FOLDER. Exit 1 on a
// difference.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>

#include "tests/support/BrokerProcess.h"
#include "tests/support/RecordProcess.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

long linesIn(const std::string& path) { return static_cast<long>(fileSizeOf(path) / 127); }

std::string archived(const std::string& folder) { return readFilesIn(folder, ".ivt"); }

bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return true;
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    long lines = 100000;
    long restartEvery = 10000;
    int periodMs = 50;
    std::string dir = "station-soak";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--lines")
            lines = std::atol(value.c_str());
        else if (name == "--restart-every")
            restartEvery = std::atol(value.c_str());
        else if (name == "--period")
            periodMs = std::atoi(value.c_str());
        else if (name == "--dir")
            dir = value;
        else {
            std::fprintf(stderr, "bench_station_soak: unknown option '%s'\n", name.c_str());
            return 2;
        }
    }
    if (lines <= 0 || restartEvery <= 0 || periodMs <= 0) {
        std::fprintf(stderr, "bench_station_soak: --lines, --restart-every and --period must be "
                             "> 0\n");
        return 2;
    }
    fs::remove_all(dir);
    fs::create_directories(dir);
    dir = fs::absolute(dir).string();
    const std::string recording = dir + "/station.ivt";

    BrokerProcess broker(dir + "/broker", {false, false, false});
    if (!broker.start()) {
        std::fprintf(stderr, "the broker did not start\n");
        return 1;
    }
    SimProcess sim({"--mode", "232", "--baud", "115200", "--period", std::to_string(periodMs),
                    "--link", dir + "/tty"},
                   dir + "/sim.log");
    RecordProcess archiver({"--subscribe", broker.url(), "--out-dir", dir + "/archive"},
                           dir + "/archiver.out", dir + "/archiver.log");
    const auto start = Clock::now();
    RecordProcess recorder({"--port", dir + "/tty", "--baud", "115200", "--out", recording,
                            "--mqtt", broker.url(), "--station", "soak"},
                           dir + "/recorder.out", dir + "/recorder.log");
    long residentStartKb = -1;
    int restarts = 0;
    double longestRestartSeconds = 0;
    for (long target = restartEvery; target <= lines; target += restartEvery) {
        if (!waitFor([&] { return linesIn(recording) >= target; },
                     static_cast<int>(restartEvery * periodMs * 2 + 60000))) {
            std::fprintf(stderr, "the recording stalled before %ld lines\n", target);
            return 1;
        }
        if (residentStartKb < 0)
            residentStartKb = recorder.residentKb();
        if (target == lines)
            break;
        const auto restart = Clock::now();
        broker.stop(SIGTERM);
        if (!broker.start()) {
            std::fprintf(stderr, "the broker did not start again\n");
            return 1;
        }
        longestRestartSeconds = std::max(longestRestartSeconds, secondsSince(restart));
        ++restarts;
        std::fprintf(stderr, "%ld lines recorded, %ld archived; broker restarted (%d)\n",
                     linesIn(recording), static_cast<long>(archived(dir + "/archive/soak").size() / 127), restarts);
    }
    const double recordingSeconds = secondsSince(start);
    const double cpuSeconds = recorder.cpuSeconds();
    const long residentEndKb = recorder.residentKb();
    sim.stop();
    const bool drained = waitFor([&] { return archived(dir + "/archive/soak") == readFile(recording); },
                                 120000);
    recorder.signal(SIGTERM);
    const int recorderExit = recorder.wait(10000);
    archiver.signal(SIGTERM);
    const int archiverExit = archiver.wait(10000);

    // Lost: recorded lines the archive lacks; duplicates: archived lines beyond the first of each.
    const std::string recorded = readFile(recording);
    const std::string archive = archived(dir + "/archive/soak");
    std::multiset<std::string> archivedLines;
    for (std::size_t at = 0; at + 127 <= archive.size(); at += 127)
        archivedLines.insert(archive.substr(at, 127));
    std::set<std::string> unique(archivedLines.begin(), archivedLines.end());
    long lost = 0;
    for (std::size_t at = 0; at + 127 <= recorded.size(); at += 127)
        lost += unique.count(recorded.substr(at, 127)) == 0 ? 1 : 0;
    const long duplicates = static_cast<long>(archivedLines.size() - unique.size());

    std::printf("station-network soak: %ld lines at %d lines/s, the broker restarted every %ld "
                "lines\n",
                lines, 1000 / periodMs, restartEvery);
    std::printf("  %-40s %ld\n", "lines recorded", static_cast<long>(recorded.size() / 127));
    std::printf("  %-40s %ld\n", "lines archived", static_cast<long>(archive.size() / 127));
    std::printf("  %-40s %ld\n", "lost (recorded, not archived)", lost);
    std::printf("  %-40s %ld\n", "duplicates in the archive", duplicates);
    std::printf("  %-40s %s\n", "archive = recording, byte for byte",
                drained && archive == recorded ? "yes" : "NO");
    std::printf("  %-40s %d (longest %.2f s)\n", "broker restarts", restarts,
                longestRestartSeconds);
    std::printf("  %-40s %.0f s\n", "wall time while recording", recordingSeconds);
    std::printf("  %-40s %.1f s (%.2f %%)\n", "recorder CPU time", cpuSeconds,
                100.0 * cpuSeconds / recordingSeconds);
    std::printf("  %-40s %.1f MB at the first restart, %.1f MB at the end\n",
                "recorder resident memory", residentStartKb / 1024.0, residentEndKb / 1024.0);
    std::printf("  %-40s recorder %d, archiver %d\n", "exit status after SIGTERM", recorderExit,
                archiverExit);
    return drained && archive == recorded && lost == 0 && duplicates == 0 && recorderExit == 0 &&
                   archiverExit == 0
               ? 0
               : 1;
}
