// ventora-convert's CSV conversion against the tight parser, on the same 1,000,000-line record
// file (127 MB, as chart-demo --generate writes it), in one run: the two take turns, five
// rounds, and the medians and their ratio are printed. The conversion is the converter's code
// (readRecordFile, writeCsv) writing to /dev/null, and again to a file in the same folder.
// Run: bench_convert [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

#include "bench/files/TightParser.h"
#include "bench/support/BenchFolder.h"
#include "bench/support/SilentMessages.h"
#include "files/CsvWriter.h"
#include "files/RecordFileReader.h"
#include "tools/demo-files/DemoFiles.h"

namespace {

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct Timing {
    std::vector<double> wall, cpu;
    void add(const std::function<void()>& run)
    {
        const double cpu0 = processCpuMs();
        const auto wall0 = std::chrono::steady_clock::now();
        run();
        wall.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0)
                .count());
        cpu.push_back(processCpuMs() - cpu0);
    }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool convert(const std::string& input, const char* output)
{
    CSilentMessages messages;
    CDataTable rows;
    if (!readRecordFile(input, rows, messages))
        return false;
    std::FILE* out = std::fopen(output, "wb");
    const bool written = out && writeCsv(rows, csvFieldTitles(rows), out) == 0;
    if (out)
        std::fclose(out);
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const CBenchFolder folder("ventora-convert-bench", [](const CBenchFolder& f) {
        return writeDemoRecordFile(f.path("week.ivt"), 1000000);
    });
    const std::string input = folder.path("week.ivt");
    const std::string csv = folder.path("week.csv");
    Timing tight, toNull, toFile;
    std::size_t lines = 0;
    bool ok = true;
    for (int round = 0; round < rounds; ++round) {
        tight.add([&] { lines = tightParse(input).lines; });
        toNull.add([&] { ok = convert(input, "/dev/null") && ok; });
        toFile.add([&] { ok = convert(input, csv.c_str()) && ok; });
    }
    if (!ok || lines != 1000000) {
        std::fprintf(stderr, "the conversion or the parse failed\n");
        return 1;
    }
    const double tightWall = median(tight.wall), tightCpu = median(tight.cpu);
    std::printf("%-44s %10s %10s %8s %8s\n", "median of rounds", "wall ms", "CPU ms",
                "wall x", "CPU x");
    auto row = [&](const char* name, const Timing& t) {
        std::printf("%-44s %10.0f %10.0f %8.2f %8.2f\n", name, median(t.wall), median(t.cpu),
                    median(t.wall) / tightWall, median(t.cpu) / tightCpu);
    };
    row("tight parser (mmap + from_chars)", tight);
    row("ventora-convert's CSV to /dev/null", toNull);
    row("ventora-convert's CSV to a file (114 MB)", toFile);
    std::printf("%d rounds of 1,000,000 lines\n", rounds);
    return 0;
}
