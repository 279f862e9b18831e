#include "stats/StatsCommand.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/LineReader.h"
#include "files/FileLimits.h"
#include "files/RecordFileReader.h"
#include "stats/StatsCsv.h"
#include "stats/StatsPeriod.h"

namespace {

// Keeps the first message of the reader, with the system's reason.
class CFirstMessage final : public IMessageBox {
public:
    void tell(std::string_view text, MessageIcon) override
    {
        if (text_.empty()) {
            reason_ = errno;
            text_ = text;
        }
    }
    bool askYesNo(std::string_view text, MessageIcon icon) override
    {
        tell(text, icon);
        return false;
    }
    std::string line() const
    {
        return reason_ != 0 ? text_ + " (" + std::strerror(reason_) + ")" : text_;
    }

private:
    std::string text_;
    int reason_ = 0;
};

int fail(std::FILE* err, const std::string& subject, const std::string& what, int code)
{
    std::fprintf(err, "ventora-convert: %s: %s\n", subject.c_str(), what.c_str());
    return code;
}

// A word shaped like a period ("7m", "90"), as opposed to a file name.
bool looksLikePeriod(std::string_view text)
{
    if (!text.empty() && (text.back() == 's' || text.back() == 'm' || text.back() == 'h'))
        text.remove_suffix(1);
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

int runStatsCommand(int argc, const char* const* argv, std::FILE* err)
{
    int next = 0;
    int period = kDefaultStatsPeriod;
    if (argc > 0 && looksLikePeriod(argv[0])) {
        if (!parseStatsPeriod(argv[0], period))
            return fail(err, argv[0],
                        "not a statistics period: from 1m to 24h, dividing a day (10m, 1h, ...)",
                        2);
        ++next;
    }
    if (argc - next < 1 || argc - next > 2) {
        std::fputs(kStatsUsage, err);
        return 2;
    }
    const std::string input = argv[next];
    if (std::filesystem::path(input).extension().string() != ".ivt")
        return fail(err, input, "statistics are made from a record (.ivt) file", 2);

    CFirstMessage messages;
    {
        // The input must open before an output is created: an existing output file is not
        // emptied for nothing.
        CLineReader probe(kLinePieceLength);
        errno = 0;
        if (!probe.open(input)) {
            messages.tell(kRecordFileOpenError, MessageIcon::Stop);
            return fail(err, input, messages.line(), 1);
        }
    }
    std::FILE* out = stdout;
    std::string output;
    if (argc - next == 2) {
        output = argv[next + 1];
        std::error_code error;
        if (std::filesystem::equivalent(input, output, error))
            return fail(err, output, "is the input file; choose another output file", 2);
        out = std::fopen(output.c_str(), "wb");
        if (!out)
            return fail(err, output, std::string("cannot create: ") + std::strerror(errno), 1);
    }
    errno = 0;
    const StatsConversion result = writeStatsCsv(input, period, out, messages);
    int writeError = result.writeError;
    if (out != stdout && std::fclose(out) != 0 && writeError == 0)
        writeError = errno != 0 ? errno : EIO;
    if (!result.opened || writeError != 0) {
        // An incomplete conversion is not left behind looking like a complete one.
        // Only a regular file is removed: never a device such as /dev/full.
        std::error_code error;
        if (!output.empty() && std::filesystem::is_regular_file(output, error))
            std::remove(output.c_str());
        if (!result.opened)
            return fail(err, input, messages.line(), 1);
        return fail(err, output.empty() ? "standard output" : output,
                    std::string("cannot write: ") + std::strerror(writeError), 1);
    }
    if (result.undated > 0)
        fail(err, input,
             std::to_string(result.undated) + " of " + std::to_string(result.rows) +
                 " rows left out: no date-time of the form YYYY/MM/DD HH:MM:SS",
             0);
    return 0;
}
