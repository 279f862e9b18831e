#include "export/NetcdfCommand.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string_view>
#include <vector>

#include "core/Clock.h"
#include "export/RecordNetcdf.h"
#include "export/StatsNetcdf.h"
#include "export/TimeZone.h"
#include "files/ConvertReport.h"
#include "files/FirstMessage.h"
#include "files/OutputFile.h"
#include "files/RecordFileReader.h"
#include "stats/StatsPeriod.h"

namespace {

constexpr std::string_view kValueOptions[] = {"--tz",  "--units",  "--station",    "--lat",
                                              "--lon", "--height", "--institution"};

bool isValueOption(std::string_view argument)
{
    for (std::string_view option : kValueOptions) {
        if (argument == option)
            return true;
    }
    return false;
}

bool endsWithNc(std::string_view path)
{
    return path.size() >= 3 && path[path.size() - 3] == '.' &&
           (path[path.size() - 2] | 0x20) == 'n' && (path[path.size() - 1] | 0x20) == 'c';
}

// A whole argument read as a finite number within [low, high].
bool readNumber(std::string_view text, double low, double high, std::optional<double>& value)
{
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(number) ||
        number < low || number > high)
        return false;
    value = number;
    return true;
}

// Takes the value of one option; false with message for a value it cannot be.
bool takeOption(std::string_view option, const std::string& value, NetcdfRequest& request,
                std::string& message)
{
    NetcdfSettings& s = request.settings;
    if (option == "--tz") {
        s.zone = value;
        request.zoneGiven = true;
    } else if (option == "--units") {
        request.unit = value;
    } else if (option == "--station") {
        s.station = value;
    } else if (option == "--institution") {
        s.institution = value;
    } else if (option == "--lat" && !readNumber(value, -90, 90, s.latitude)) {
        message = "not a latitude: degrees north, from -90 to 90";
    } else if (option == "--lon" && !readNumber(value, -180, 360, s.longitude)) {
        message = "not a longitude: degrees east, from -180 to 360";
    } else if (option == "--height" && !readNumber(value, -1e6, 1e6, s.height)) {
        message = "not a height in metres";
    }
    return message.empty();
}

// The command line as a shell reads it back: words with other characters are quoted.
std::string commandLine(int argc, const char* const* argv)
{
    std::string line = "ventora-convert";
    for (int i = 0; i < argc; ++i) {
        const std::string_view word = argv[i];
        line += ' ';
        if (!word.empty() &&
            word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOP"
                                   "QRSTUVWXYZ0123456789-_./:=+,@%") == std::string_view::npos) {
            line += word;
            continue;
        }
        line += '\'';
        for (char c : word)
            line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        line += '\'';
    }
    return line;
}

std::string utcNowText()
{
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    return formatTime(utc, "%Y-%m-%dT%H:%M:%SZ");
}

// The zone and the unit the request names: 0, or exit code 1 with subject and message.
int resolveZoneAndUnit(NetcdfRequest& request, std::string& subject, std::string& message)
{
    NetcdfSettings& s = request.settings;
    if (!request.zoneGiven)
        s.zone = CTimeZone::systemZoneName();
    CTimeZone zone;
    if (s.zone.empty()) {
        subject = "/etc/localtime";
        message = "cannot tell the system's time zone; name one with --tz";
        return 1;
    }
    if (zone.select(s.zone) != 0) {
        subject = s.zone;
        message = "no such time zone in the system's time zone database";
        return 1;
    }
    const std::optional<std::string> unit = udunitsSpeedUnit(request.unit);
    if (!unit) {
        subject = request.unit;
        message = "unknown speed unit: m/s, km/h, knots, mph or ft/s";
        return 1;
    }
    s.speedUnit = *unit;
    return 0;
}

} // namespace

bool wantsNetcdf(int argc, const char* const* argv)
{
    if (argc > 0 && endsWithNc(argv[argc - 1]))
        return true;
    for (int i = 0; i < argc; ++i) {
        if (isValueOption(argv[i]))
            return true;
    }
    return false;
}

int parseNetcdfArguments(int argc, const char* const* argv, NetcdfRequest& request,
                         std::string& subject, std::string& message)
{
    auto bad = [&](std::string_view what, std::string_view why) {
        subject = what;
        message = why;
        return 2;
    };
    std::vector<std::string> files;
    for (int i = 0; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--stats") {
            request.stats = true;
            request.period = kDefaultStatsPeriod;
            if (i + 1 < argc && looksLikeStatsPeriod(argv[i + 1]) &&
                !parseStatsPeriod(argv[++i], request.period))
                return bad(argv[i], kStatsPeriodError);
        } else if (isValueOption(argument)) {
            if (i + 1 >= argc)
                return bad(argument, "needs a value");
            std::string why;
            if (!takeOption(argument, argv[++i], request, why))
                return bad(argv[i], why);
        } else if (argument.starts_with("--")) {
            return bad(argument, "unknown option");
        } else {
            files.emplace_back(argument);
        }
    }
    if (files.size() != 2)
        return bad({}, {});
    request.input = files[0];
    request.output = files[1];
    if (!endsWithNc(request.output))
        return bad(request.output, "--tz, --units, --station, --lat, --lon, --height and "
                                   "--institution are options of the NetCDF output (OUT.nc)");
    if (std::filesystem::path(request.input).extension().string() != ".ivt")
        return bad(request.input, "NetCDF files are made from a record (.ivt) file");
    std::error_code same;
    if (std::filesystem::equivalent(request.input, request.output, same))
        return bad(request.output, "is the input file; choose another output file");
    if (request.settings.station.empty())
        request.settings.station = std::filesystem::path(request.input).stem().string();
    request.settings.source = std::filesystem::path(request.input).filename().string();
    return 0;
}

int runNetcdfCommand(int argc, const char* const* argv, std::FILE* err)
{
    NetcdfRequest request;
    std::string subject, message;
    if (parseNetcdfArguments(argc, argv, request, subject, message) != 0) {
        if (message.empty()) {
            std::fprintf(err, "Usage: %s%s\n%s", kNetcdfUsageLine, kNetcdfDescription,
                         kNetcdfOptions);
            return 2;
        }
        return convertReport(err, subject, message, 2);
    }
    if (resolveZoneAndUnit(request, subject, message) != 0)
        return convertReport(err, subject, message, 1);
    request.settings.history = utcNowText() + ": " + commandLine(argc, argv);

    // The input's read failure: its open-failure message with the reason.
    auto readFailed = [&](int error) {
        CFirstMessage messages;
        errno = error;
        messages.tell(kRecordFileOpenError, MessageIcon::Stop);
        return convertReport(err, request.input, messages.line(), 1);
    };
    // The input is opened before the output is begun: when it cannot be, nothing is created.
    CRecordRowReader reader;
    errno = 0;
    if (!reader.open(request.input))
        return readFailed(errno);
    COutputFile file;
    if (int error = file.open(request.output); error != 0)
        return convertReport(err, request.output,
                             std::string("cannot create: ") + std::strerror(error), 1);
    NetcdfConversion result =
        request.stats ? writeStatsNetcdf(reader, request.period, file.stream(), request.settings)
                      : writeRecordNetcdf(reader, file.stream(), request.settings);
    if (result.readError != 0) {
        // Nothing of a file read only in part is kept.
        file.discard();
        return readFailed(result.readError);
    }
    if (result.writeError == 0) {
        if (const int error = file.commit(); error != 0) {
            result.writeError = error;
            result.failure = std::strerror(error);
        }
    }
    if (result.writeError != 0) {
        // Only the unfinished new file goes; whatever was at the output path stays as it was.
        file.discard();
        return convertReport(err, request.output, "cannot write: " + result.failure, 1);
    }
    if (result.undated > 0)
        reportUndatedRows(err, request.input, result.undated, result.rows);
    if (result.nonexistent > 0)
        convertReport(err, request.input,
                      std::to_string(result.nonexistent) + " of " + std::to_string(result.rows) +
                          " rows left out: their local times do not exist in " +
                          request.settings.zone + " (the first: " + result.firstNonexistent + ")",
                      0);
    return 0;
}
