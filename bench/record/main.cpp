// bench_record_soak: the recorder's long soak (see RecordSoak.h). Options: --lines N,
// --replug-every N, --period MS, --baud N, --dir FOLDER, --echo-reader BYTES_PER_SECOND (--echo to
// a FIFO read that slowly). Exit 1 when a line was lost
// otherwise than in flight at a hang-up, or the file holds a partial line.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/record/RecordSoak.h"

int main(int argc, char** argv)
{
    SoakConfig config;
    config.workDir = "record-soak";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        if (name == "--lines")
            config.lines = std::atol(value.c_str());
        else if (name == "--replug-every")
            config.replugEvery = std::atol(value.c_str());
        else if (name == "--period")
            config.periodMs = std::atoi(value.c_str());
        else if (name == "--baud")
            config.baud = std::atoi(value.c_str());
        else if (name == "--dir")
            config.workDir = value;
        else if (name == "--echo-reader")
            config.echoReaderBytesPerSecond = std::atoi(value.c_str());
        else {
            std::fprintf(stderr, "bench_record_soak: unknown option '%s'\n", name.c_str());
            return 2;
        }
    }
    if (config.lines <= 0 || config.replugEvery <= 0 || config.periodMs <= 0) {
        std::fprintf(stderr,
                     "bench_record_soak: --lines, --replug-every and --period must be > 0\n");
        return 2;
    }
    config.progress = [](std::string_view line) {
        std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
    };
    const SoakResult result = runSoak(config);
    std::fputs(result.report(config).c_str(), stdout);
    return result.passed() ? 0 : 1;
}
