// The station-network options of ventora-record: what they set, and the one-line refusals.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/support/TempDir.h"
#include "tools/record/RecordOptions.h"

namespace {

TEST(MqttOptionsTest, BrokerStationAndWhereThePasswordComesFrom)
{
    TempDir dir;
    writeFile(dir.file("pw"), "from-file\nsecond line\n");
    ::setenv(kMqttPasswordVariable, "from-env", 1);
    struct Row {
        std::vector<std::string> args;
        const char* station;
        const char* password; // null: none
    };
    const Row rows[] = {
        {{"--mqtt", "mqtt://u:from-url@h", "--mqtt-password-file", dir.file("pw"), "--station",
          "m1"},
         "m1", "from-url"},
        {{"--mqtt", "mqtt://u@h", "--mqtt-password-file", dir.file("pw"), "--station", "m1"},
         "m1", "from-file"},
        {{"--mqtt", "mqtt://u@h", "--station=m 2"}, "m 2", "from-env"},
        {{"--subscribe", "mqtts://h/site", "--out-dir", "archive", "--mqtt-cafile", "ca.pem"},
         "", "from-env"},
    };
    for (const Row& row : rows) {
        RecordOptions options;
        std::string message;
        ASSERT_EQ(parseRecordOptions(row.args, &options, &message), RecordParse::Run) << message;
        EXPECT_EQ(options.mqtt.station, row.station);
        EXPECT_EQ(options.mqtt.broker.password, row.password);
    }
    ::unsetenv(kMqttPasswordVariable);
    RecordOptions options;
    std::string message;
    ASSERT_EQ(parseRecordOptions({"--mqtt", "mqtt://h"}, &options, &message), RecordParse::Run);
    EXPECT_FALSE(options.mqtt.station.empty()); // the host name
    EXPECT_FALSE(options.mqtt.broker.hasPassword);
}

TEST(MqttOptionsTest, RefusesBadUseWithAOneLineMessage)
{
    const std::pair<std::vector<std::string>, std::string> rows[] = {
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
    for (const auto& [args, expected] : rows) {
        RecordOptions options;
        std::string message;
        EXPECT_EQ(parseRecordOptions(args, &options, &message), RecordParse::Error)
            << testing::PrintToString(args);
        EXPECT_EQ(message, expected);
    }
}

} // namespace
