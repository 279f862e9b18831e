// ventora-convert FILE.ivt|FILE.lvt [OUT.csv|OUT.xlsx]: converts a record or log file to CSV,
// written to OUT.csv or, when no output is named, to standard output; an output ending in .xlsx
// gets the spreadsheet export's workbook instead. Exit codes: 0 done, 1 a file could not be read
// or written, 2 bad arguments. With --stats it writes wind statistics instead
// (stats/StatsCommand.h), with --wind-rose a wind rose picture (stats/WindRoseCommand.h). An
// output ending in .nc gets a NetCDF file of the samples or the statistics
// (export/NetcdfCommand.h). Every output follows files/OutputFile.h; SIGINT and SIGTERM remove
// an unfinished one.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

#include "core/FileSizeSignal.h"
#include "export/NetcdfCommand.h"
#include "export/WorkbookWriter.h"
#include "files/ConvertReport.h"
#include "files/CsvWriter.h"
#include "files/FileLimits.h"
#include "files/FirstMessage.h"
#include "files/InterruptCleanup.h"
#include "files/LogFileReader.h"
#include "files/OutputFile.h"
#include "files/RecordFileReader.h"
#include "stats/StatsCommand.h"
#if VENTORA_WIND_ROSE
#include "stats/WindRoseCommand.h"
#endif

namespace {

constexpr const char* kUsageLines = "Usage: ventora-convert FILE.ivt|FILE.lvt [OUT.csv|OUT.xlsx]\n"
                                    "  or:  ventora-convert --stats [PERIOD] FILE.ivt [OUT.csv]\n"
#if VENTORA_WIND_ROSE
                                    "  or:  ventora-convert --wind-rose FILE.ivt ROSE.png\n"
#endif
                                    "  or:  ";
constexpr const char* kDescription =
    "Converts a Ventora record (.ivt) or log (.lvt) file to CSV, written to OUT.csv\n"
    "or, when no output is named, to standard output; an output ending in .xlsx\n"
    "gets an Excel workbook instead.\n";
constexpr const char* kOptions =
    "\n"
    "  --stats [PERIOD]    wind statistics per period of a record file instead: PERIOD\n"
    "                      is 10m, 1h, 600s or minutes, from 1 minute to 24 hours and\n"
    "                      dividing a day (default 10m)\n"
#if VENTORA_WIND_ROSE
    "  --wind-rose         the wind rose of a record file as a PNG picture instead\n"
#endif
    ;
constexpr const char* kEnd =
    "  --help              show this help\n"
    "\n"
    "An output is replaced only when it is complete; Ctrl-C leaves the old one as it was.\n"
    "\n"
    "Exit status: 0 done; 1 a file could not be read, was refused or could not be\n"
    "written, an unknown zone or speed unit; 2 bad arguments; 130/143 interrupted\n"
    "(SIGINT/SIGTERM).\n";

void usage(std::FILE* out)
{
    for (const char* part : {kUsageLines, kNetcdfUsageLine, kDescription, kNetcdfDescription,
                             kOptions, kNetcdfOptions, kEnd})
        std::fputs(part, out);
}

int fail(const std::string& subject, const std::string& what, int code)
{
    return convertReport(stderr, subject, what, code);
}

// The input's size, which the output is measured against; for a pipe, which has none, the
// bytes its rows hold.
std::uint64_t inputBytes(const std::string& path, const CDataTable& rows)
{
    struct stat info {};
    const std::uint64_t size = ::stat(path.c_str(), &info) == 0 && info.st_size > 0
                                   ? static_cast<std::uint64_t>(info.st_size)
                                   : 0;
    return std::max<std::uint64_t>(size, rows.memoryBytes());
}

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

} // namespace

int main(int argc, char** argv)
try {
    ignoreFileSizeSignal();
    installInterruptCleanup();
    if (argc == 2 && (std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        usage(stdout);
        return 0;
    }
    if (wantsNetcdf(argc - 1, argv + 1))
        return runNetcdfCommand(argc - 1, argv + 1);
    if (argc >= 2 && std::strcmp(argv[1], "--stats") == 0)
        return runStatsCommand(argc - 2, argv + 2);
#if VENTORA_WIND_ROSE
    if (argc >= 2 && std::strcmp(argv[1], "--wind-rose") == 0)
        return runWindRoseCommand(argc - 2, argv + 2);
#endif
    if (argc < 2 || argc > 3) {
        usage(stderr);
        return 2;
    }
    const std::string input = argv[1];
    // Extensions are compared case-sensitively, as the program's File > Open does.
    const std::string extension = std::filesystem::path(input).extension().string();
    if (extension != ".ivt" && extension != ".lvt")
        return fail(input, "not a record (.ivt) or log (.lvt) file", 2);

    CDataTable rows;
    CFirstMessage messages;
    errno = 0;
    bool read = extension == ".ivt" ? readRecordFile(input, rows, messages)
                                    : readLogFile(input, rows, messages);
    if (!read)
        return fail(input, messages.line(), 1);
    // Refused before anything is written: a table that would swell far beyond its file.
    const std::vector<std::string> titles = csvFieldTitles(rows);
    if (!outputWithinLimit(csvSizeBound(rows, titles), inputBytes(input, rows))) {
        errno = kOutputTooLarge;
        messages.tell(extension == ".ivt" ? kRecordFileOpenError : kLogFileOpenError,
                      MessageIcon::Stop);
        return fail(input, messages.line(), 1);
    }

    std::FILE* out = stdout;
    std::string output;
    COutputFile file;
    if (argc == 3) {
        output = argv[2];
        if (sameFile(input, output))
            return fail(output, "is the input file; choose another output file", 2);
        const bool workbook = isWorkbookPath(output);
        if (int error = file.open(output, workbook ? COutputFile::Writer::ByName
                                                   : COutputFile::Writer::Stream);
            error != 0)
            return fail(output, std::string("cannot create: ") + std::strerror(error), 1);
        if (workbook) {
            int result = convertToWorkbook(rows, file.writePath());
            if (result == 0)
                result = file.commit();
            if (result != 0) {
                file.discard();
                return fail(output, "cannot write: " + workbookErrorText(result), 1);
            }
            return 0;
        }
        out = file.stream();
    }
    int result = writeCsv(rows, titles, out);
    if (result == 0 && out != stdout)
        result = file.commit();
    if (result != 0) {
        // Only the unfinished new file goes; whatever was at the output path stays as it was.
        file.discard();
        return fail(output.empty() ? "standard output" : output,
                    std::string("cannot write: ") + std::strerror(result), 1);
    }
    return 0;
} catch (const std::bad_alloc&) {
    return fail(argc > 1 ? argv[1] : "ventora-convert", std::strerror(ENOMEM), 1);
}
