#include "tools/record/RecordOptions.h"

#include <cctype>
#include <charconv>

#include "protocol/Autodetect.h"
#include "serial/ComName.h"

namespace {

bool looksLikeComName(const std::string& text)
{
    return text.size() >= 3 && std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
           std::toupper(static_cast<unsigned char>(text[1])) == 'O' &&
           std::toupper(static_cast<unsigned char>(text[2])) == 'M';
}

// Sets the option name (without its value) to value; false when the value is not valid.
bool setValue(const std::string& name, const std::string& value, RecordOptions* options)
{
    if (bool valid = false; setMqttValue(name, value, &options->mqtt, &valid))
        return valid;
    if (name == "--port") {
        // "COM0" or "COMx" is a mistyped port, not a file of the working folder.
        if (value.empty() || (looksLikeComName(value) && !comNumber(value)))
            return false;
        options->port = value;
        return true;
    }
    if (name == "--baud") {
        int rate = 0;
        const char* end = value.data() + value.size();
        const auto [ptr, error] = std::from_chars(value.data(), end, rate);
        if (value.empty() || error != std::errc() || ptr != end ||
            !CAutodetect::knownBaudRate(rate))
            return false;
        options->baud = rate;
        return true;
    }
    if (name == "--out") {
        if (value.empty() || value.back() == '/')
            return false;
        options->out = value;
        return true;
    }
    // --rotate
    if (value != "daily")
        return false;
    options->rotateDaily = true;
    return true;
}

const char* const kValueHints[][2] = {
    {"--port", "COM1, COM2, ... or a device path"},
    {"--baud", "9600, 19200, 38400, 57600 or 115200"},
    {"--out", "a file name"},
    {"--rotate", "daily"},
};

} // namespace

RecordParse parseRecordOptions(const std::vector<std::string>& args, RecordOptions* options,
                               std::string* message)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        if (name == "--help" || name == "-h")
            return RecordParse::Help;
        if (name == "--truncate" || name == "--echo") {
            (name == "--truncate" ? options->truncate : options->echo) = true;
            continue;
        }
        std::string value;
        bool hasValue = false;
        if (const auto equals = name.find('='); equals != std::string::npos && name[0] == '-') {
            value = name.substr(equals + 1);
            name.resize(equals);
            hasValue = true;
        }
        if (name == "--truncate" || name == "--echo" || name == "--help") {
            *message = "option '" + name + "' takes no value";
            return RecordParse::Error;
        }
        const char* hint = nullptr;
        for (const auto& entry : kValueHints)
            if (name == entry[0])
                hint = entry[1];
        if (hint == nullptr)
            hint = mqttValueHint(name);
        if (hint == nullptr) {
            *message = name.rfind("-", 0) == 0 ? "unknown option '" + name + "'"
                                               : "unexpected argument '" + name + "'";
            return RecordParse::Error;
        }
        if (!hasValue) {
            if (i + 1 == args.size()) {
                *message = "option '" + name + "' needs a value: " + hint;
                return RecordParse::Error;
            }
            value = args[++i];
        }
        if (!setValue(name, value, options)) {
            *message = "invalid value '" + value + "' for option '" + name + "': " + hint;
            return RecordParse::Error;
        }
    }
    const RecordOptions plain;
    const bool recorderOptions = options->port != plain.port || options->baud != plain.baud ||
                                 options->out != plain.out || options->truncate ||
                                 options->rotateDaily || options->echo;
    if (!finishMqttOptions(&options->mqtt, recorderOptions, message))
        return RecordParse::Error;
    return RecordParse::Run;
}

std::string recordUsage()
{
    return "Usage: ventora-record [options]\n"
           "Records a VA7310 anemometer without a window: finds it, appends each sample to a\n"
           "recording file and, when the link is lost, searches again until it is back.\n"
           "\n"
           "  --port COMn|DEVICE  the instrument's port (default: search COM1, COM2, COM3)\n"
           "  --baud N            its speed: 9600, 19200, 38400, 57600 or 115200\n"
           "                      (default: try each)\n"
           "  --out FILE          the recording file (default: dump.ivt in the working\n"
           "                      folder), in the monitor's format; samples are appended\n"
           "  --truncate          empty the file at start instead of appending to it\n"
           "  --rotate daily      one file per local day: FILE's name with -YYYYMMDD before\n"
           "                      its extension (dump-20240517.ivt)\n"
           "  --echo              also write each sample to standard output as a CSV line:\n"
           "                      date, time and the thirteen channels, as ventora-convert\n"
           "  --help              show this help\n"
           "\n" +
           mqttUsage() +
           "\n"
           "COMn is the device in the environment variable VENTORA_COMn, else the path of a\n"
           "line COMn=path in ./port.ini, else /dev/ttyS<n-1>.\n"
           "\n"
           "Events go to standard error, one line each. After a lost link (hang-up,\n"
           "unplugged adapter, silence, or no sample for 30 s) or a search without result\n"
           "it searches again after 1 s, then after pauses doubling up to 60 s, until the\n"
           "instrument answers again.\n"
           "SIGINT and SIGTERM close the port and stop it with the file complete (exit 0);\n"
           "SIGHUP opens the file again (after logrotate has moved it). Exit 2: bad options;\n"
           "exit 1: the file cannot be written or the signals cannot be watched.\n";
}
