#include "stats/StatsCommand.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/LineReader.h"
#include "files/ConvertReport.h"
#include "files/FileLimits.h"
#include "files/FirstMessage.h"
#include "files/OutputFile.h"
#include "files/RecordFileReader.h"
#include "stats/StatsCsv.h"
#include "stats/StatsPeriod.h"

int runStatsCommand(int argc, const char* const* argv, std::FILE* err)
{
    int next = 0;
    int period = kDefaultStatsPeriod;
    if (argc > 0 && looksLikeStatsPeriod(argv[0])) {
        if (!parseStatsPeriod(argv[0], period))
            return convertReport(err, argv[0], kStatsPeriodError, 2);
        ++next;
    }
    if (argc - next < 1 || argc - next > 2) {
        std::fputs(kStatsUsage, err);
        return 2;
    }
    const std::string input = argv[next];
    if (std::filesystem::path(input).extension().string() != ".ivt")
        return convertReport(err, input, "statistics are made from a record (.ivt) file", 2);

    CFirstMessage messages;
    {
        // The input is tried before the output is created: when it cannot be opened, that is
        // what is reported, and no output file is begun.
        CLineReader probe(kLinePieceLength);
        errno = 0;
        if (!probe.open(input)) {
            messages.tell(kRecordFileOpenError, MessageIcon::Stop);
            return convertReport(err, input, messages.line(), 1);
        }
    }
    std::FILE* out = stdout;
    std::string output;
    COutputFile file;
    if (argc - next == 2) {
        output = argv[next + 1];
        std::error_code same;
        if (std::filesystem::equivalent(input, output, same))
            return convertReport(err, output, "is the input file; choose another output file", 2);
        if (int error = file.open(output); error != 0)
            return convertReport(err, output, std::string("cannot create: ") + std::strerror(error),
                                 1);
        out = file.stream();
    }
    errno = 0;
    const StatsConversion result = writeStatsCsv(input, period, out, messages);
    int writeError = result.writeError;
    if (result.opened && writeError == 0 && out != stdout)
        writeError = file.commit();
    if (!result.opened || writeError != 0) {
        // Only the unfinished new file goes; whatever was at the output path stays as it was.
        file.discard();
        if (writeError == kOutputTooLarge) { // the input's fault: refused as the readers refuse
            errno = writeError;
            messages.tell(kRecordFileOpenError, MessageIcon::Stop);
        }
        if (!result.opened || writeError == kOutputTooLarge)
            return convertReport(err, input, messages.line(), 1);
        return convertReport(err, output.empty() ? "standard output" : output,
                             "cannot write: " + fileErrorText(writeError), 1);
    }
    if (result.undated > 0)
        reportUndatedRows(err, input, result.undated, result.rows);
    return 0;
}
