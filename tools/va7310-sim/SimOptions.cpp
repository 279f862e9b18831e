#include "tools/va7310-sim/SimOptions.h"

#include <charconv>
#include <functional>
#include <map>

#include "serial/LineSpeed.h"

namespace {

bool toInt(const std::string& text, int low, int high, int* value)
{
    int parsed = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error != std::errc() || ptr != end || parsed < low || parsed > high)
        return false;
    *value = parsed;
    return true;
}

using Setter = std::function<bool(const std::string&, SimOptions&)>;

Setter intSetter(int SimOptions::*field, int low, int high)
{
    return [=](const std::string& text, SimOptions& options) {
        return toInt(text, low, high, &(options.*field));
    };
}

const std::map<std::string, Setter>& valueOptions()
{
    static const std::map<std::string, Setter> options = {
        {"--mode", [](const std::string& text, SimOptions& o) {
             return (text == "232" || text == "485") && toInt(text, 232, 485, &o.mode);
         }},
        {"--baud", [](const std::string& text, SimOptions& o) {
             return toInt(text, 1, 4000000, &o.baud) && speedFromBaud(o.baud) != kNoSpeed;
         }},
        {"--period", intSetter(&SimOptions::periodMs, 10, 3600000)},
        {"--unit", [](const std::string& text, SimOptions& o) {
             o.unit = text;
             return !text.empty() && text.size() <= 16 &&
                    text.find_first_of("&\r\n:") == std::string::npos;
         }},
        {"--address", intSetter(&SimOptions::address, 0, 15)},
        {"--link", [](const std::string& text, SimOptions& o) {
             o.linkPath = text;
             return !text.empty();
         }},
        {"--seed", [](const std::string& text, SimOptions& o) {
             int seed = 0;
             const bool ok = toInt(text, 0, 2147483647, &seed);
             o.seed = static_cast<unsigned>(seed);
             return ok;
         }},
        {"--silent-after", intSetter(&SimOptions::silentAfter, 0, 2147483647)},
        {"--garble", intSetter(&SimOptions::garble, 0, 2147483647)},
        {"--long-after", intSetter(&SimOptions::longAfter, 0, 2147483647)},
        {"--markers", intSetter(&SimOptions::markersEvery, 0, 2147483647)},
        {"--hangup-after", intSetter(&SimOptions::hangupAfter, 0, 2147483647)},
        {"--hangup-mid-line", intSetter(&SimOptions::hangupMidLine, 0, 2147483647)},
    };
    return options;
}

} // namespace

SimParse parseSimOptions(const std::vector<std::string>& args, SimOptions* options,
                         std::string* message)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name == "--help" || name == "-h")
            return SimParse::Help;
        if (name == "--verbose" || name == "-v") {
            options->verbose = true;
            continue;
        }
        if (name == "--instant") {
            options->instant = true;
            continue;
        }
        std::string value;
        bool hasValue = false;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
            hasValue = true;
        }
        const auto option = valueOptions().find(name);
        if (option == valueOptions().end()) {
            *message = "unknown option '" + name + "'";
            return SimParse::Error;
        }
        if (!hasValue) {
            if (i + 1 == args.size()) {
                *message = "option '" + name + "' needs a value";
                return SimParse::Error;
            }
            value = args[++i];
        }
        if (!option->second(value, *options)) {
            *message = "invalid value '" + value + "' for option '" + name + "'";
            return SimParse::Error;
        }
    }
    return SimParse::Run;
}

std::string simUsage()
{
    return "Usage: va7310-sim [options]\n"
           "Plays a VA7310 sonic anemometer on a pseudo-terminal and prints its device path.\n"
           "\n"
           "  --mode 232|485      line type: 232 streams data lines, 485 answers polls (232)\n"
           "  --baud N            the only line speed it answers at (9600)\n"
           "  --period MS         RS232 streaming period in milliseconds (1000); a line that\n"
           "                      falls due while two still go out is skipped\n"
           "  --unit TEXT         unit of wind speed: m/s, km/h, knots, mph, ft/s (m/s)\n"
           "  --address N         instrument address 0..15 (1)\n"
           "  --link PATH         also publish the device as a symbolic link at PATH\n"
           "  --seed N            seed of the slowly varying values (1)\n"
           "  --instant           send each line at once (default: each character takes\n"
           "                      its start, data, parity and stop bits at the line speed\n"
           "                      that the program set, as on a real wire)\n"
           "  --verbose           log commands and replies on standard error; a sent line is\n"
           "                      logged when its last character has gone out\n"
           "Faults on demand:\n"
           "  --silent-after N    go silent after N lines\n"
           "  --garble N          garble the next N command replies (no \"&\")\n"
           "  --long-after N      after N lines, send one over-long line\n"
           "  --markers N         put a field marker in every N-th data text\n"
           "  --hangup-after N    hang up after N lines\n"
           "  --hangup-mid-line N hang up half-way through the line after N lines\n"
           "  --help              show this help\n"
           "\n"
           "Commands understood: D<addr>.. (identify), M<addr>.. and S<addr>.. on RS485\n"
           "(measure, set-up menu), ? on RS232 (set-up menu). Stop it with Ctrl+C.\n";
}
