// ventora-convert of a 1,000,000-line record file of realistic samples (tools/demo-files, one
// line a second, 127 MB), run as users run it: to CSV, to a NetCDF file of the samples, and to
// a NetCDF file of its 10-minute statistics. Each run is a child process, so its wall time, its
// CPU time (user and system) and its peak memory are the program's own; the output's size is
// given as a share of the record file's.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

#include "bench/support/BenchFolder.h"
#include "tools/demo-files/DemoFiles.h"

extern char** environ;

namespace {

const CBenchFolder& files()
{
    static const CBenchFolder folder("ventora-netcdf-bench", [](const CBenchFolder& f) {
        return writeDemoRecordFile(f.path("1M.ivt"), 1000000);
    });
    return folder;
}

struct ChildFigures {
    bool ok = false;
    double wallS = 0, cpuS = 0, peakMB = 0;
};

ChildFigures runConverter(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), VENTORA_CONVERT);
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    ChildFigures figures;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return figures;
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    figures.wallS = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    figures.cpuS = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    figures.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    figures.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return figures;
}

void convertOnce(benchmark::State& state, const std::vector<std::string>& options,
                 const char* output)
{
    const std::string input = files().path("1M.ivt");
    const std::string out = files().path(output);
    std::vector<std::string> arguments = options;
    arguments.push_back(input);
    arguments.push_back(out);
    double cpu = 0, peak = 0;
    for (auto _ : state) {
        const ChildFigures f = runConverter(arguments);
        if (!f.ok) {
            state.SkipWithError("ventora-convert failed");
            return;
        }
        state.SetIterationTime(f.wallS);
        cpu += f.cpuS;
        peak = std::max(peak, f.peakMB);
    }
    state.counters["cpu_s"] = cpu / static_cast<double>(state.iterations());
    state.counters["peak_MB"] = peak;
    state.counters["share_of_ivt"] = static_cast<double>(std::filesystem::file_size(out)) /
                                     static_cast<double>(std::filesystem::file_size(input));
}

void BM_ConvertToCsv1M(benchmark::State& state) { convertOnce(state, {}, "out.csv"); }
void BM_ConvertToNetcdf1M(benchmark::State& state)
{
    convertOnce(state, {"--tz", "Europe/Berlin"}, "out.nc");
}
void BM_StatsToNetcdf1M(benchmark::State& state)
{
    convertOnce(state, {"--stats", "10m", "--tz", "Europe/Berlin"}, "stats.nc");
}

// Alternating runs share the machine's load alike.
BENCHMARK(BM_ConvertToCsv1M)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ConvertToNetcdf1M)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_StatsToNetcdf1M)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
