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

} // namespace
