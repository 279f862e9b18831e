#include <gtest/gtest.h>

#include "tools/record/RecordOptions.h"

namespace {

struct Accepted {
    std::vector<std::string> args;
    RecordOptions expected;
};

bool operator==(const RecordOptions& a, const RecordOptions& b)
{
    return a.port == b.port && a.baud == b.baud && a.out == b.out && a.truncate == b.truncate &&
           a.rotateDaily == b.rotateDaily && a.echo == b.echo;
}

TEST(RecordOptionsTest, AcceptedArgumentsAndTheirDefaults)
{
    const Accepted cases[] = {
        {{}, {"", 0, "dump.ivt", false, false, false}},
        {{"--port", "COM2", "--baud", "115200"}, {"COM2", 115200, "dump.ivt", false, false, false}},
        {{"--port=com3", "--baud=9600"}, {"com3", 9600, "dump.ivt", false, false, false}},
        {{"--port", "/dev/ttyUSB0", "--out", "/var/lib/ventora/mast.ivt", "--truncate"},
         {"/dev/ttyUSB0", 0, "/var/lib/ventora/mast.ivt", true, false, false}},
        {{"--rotate", "daily", "--echo", "--out=station"}, {"", 0, "station", false, true, true}},
        {{"--baud", "9600", "--baud", "57600"}, {"", 57600, "dump.ivt", false, false, false}},
    };
    for (const Accepted& c : cases) {
        RecordOptions options;
        std::string message;
        EXPECT_EQ(parseRecordOptions(c.args, &options, &message), RecordParse::Run) << message;
        EXPECT_TRUE(options == c.expected) << testing::PrintToString(c.args);
    }
}

TEST(RecordOptionsTest, RejectsBadInputWithAOneLineMessage)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--baud", "4800"},
         "invalid value '4800' for option '--baud': 9600, 19200, 38400, 57600 or 115200"},
        {{"--baud", "96O0"},
         "invalid value '96O0' for option '--baud': 9600, 19200, 38400, 57600 or 115200"},
        {{"--baud"}, "option '--baud' needs a value: 9600, 19200, 38400, 57600 or 115200"},
        {{"--port", "COM0"},
         "invalid value 'COM0' for option '--port': COM1, COM2, ... or a device path"},
        {{"--port="}, "invalid value '' for option '--port': COM1, COM2, ... or a device path"},
        {{"--out", "logs/"}, "invalid value 'logs/' for option '--out': a file name"},
        {{"--rotate", "hourly"}, "invalid value 'hourly' for option '--rotate': daily"},
        {{"--truncate=yes"}, "option '--truncate' takes no value"},
        {{"--verbose"}, "unknown option '--verbose'"},
        {{"dump.ivt"}, "unexpected argument 'dump.ivt'"},
        // The station network's options.
        {{"--mqtt", "mqtt://h", "--station", "a/b"},
         "invalid value 'a/b' for option '--station': a name without '/', '+' or '#'"},
        {{"--mqtt", "mqtt://h", "--station", ""},
         "invalid value '' for option '--station': a name without '/', '+' or '#'"},
        {{"--mqtt", "mqtt://h", "--station", "#"},
         "invalid value '#' for option '--station': a name without '/', '+' or '#'"},
        {{"--mqtt", "tcp://h"}, "invalid broker URL 'tcp://h': it must start with mqtt:// or "
                                "mqtts://"},
        {{"--mqtt", "mqtt://h", "--subscribe", "mqtt://h", "--out-dir", "d"},
         "--mqtt and --subscribe exclude each other: a recorder publishes, an archiver "
         "subscribes"},
        {{"--subscribe", "mqtt://h"}, "--subscribe and --out-dir go together"},
        {{"--subscribe", "mqtt://h", "--out-dir", "d", "--port", "COM1"},
         "the archiver (--subscribe) takes none of the recorder's options"},
        {{"--station", "m1"}, "--mqtt-cafile, --mqtt-password-file, --station and --stats-period "
                              "need --mqtt (or --subscribe)"},
        {{"--mqtt", "mqtt://h", "--mqtt-cafile", "ca.pem"}, "--mqtt-cafile needs an mqtts:// URL"},
        {{"--mqtt", "mqtt://u@h", "--mqtt-password-file", "/nonexistent/pw"},
         "cannot read the password file '/nonexistent/pw'"},
        {{"--mqtt", "mqtt://h", "--stats-period", "7m"},
         "invalid value '7m' for option '--stats-period': 10m, 1h, 600s, ... (a whole divisor "
         "of a day, at least a minute)"},
    };
    for (const auto& [args, expected] : cases) {
        RecordOptions options;
        std::string message;
        EXPECT_EQ(parseRecordOptions(args, &options, &message), RecordParse::Error)
            << testing::PrintToString(args);
        EXPECT_EQ(message, expected);
        EXPECT_EQ(message.find('\n'), std::string::npos);
    }
}

TEST(RecordOptionsTest, HelpStopsTheParsingAndNamesEveryOption)
{
    RecordOptions options;
    std::string message;
    EXPECT_EQ(parseRecordOptions({"--baud", "1", "--help"}, &options, &message),
              RecordParse::Error);
    EXPECT_EQ(parseRecordOptions({"--echo", "-h", "--frob"}, &options, &message),
              RecordParse::Help);
    const std::string usage = recordUsage();
    for (const char* option :
         {"--port", "--baud", "--out", "--truncate", "--rotate daily", "--echo", "--help"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    std::size_t start = 0;
    for (std::size_t end; (end = usage.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LE(end - start, 80u) << usage.substr(start, end - start);
}

} // namespace
