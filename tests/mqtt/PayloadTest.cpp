// Broker URLs, station names and topics, and the JSON that crosses the network.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>

#include "core/Unit.h"
#include "mqtt/MqttTopics.h"
#include "mqtt/MqttUrl.h"
#include "mqtt/SamplePayload.h"
#include "mqtt/StationPayloads.h"

namespace {

// Thirteen 8-character fields in channel order: numbers, a marker (Ain4), a blank field (W) and
// a non-number (U-V).
const std::string kDataText = std::string("    3.21") + "   350.0" + "  1012.9" + "   15.02" +
                              "    62.8" + "   _err " + "    0.17" + "    0.28" + "        " +
                              "  -0.02x" + "     3.0" + "  340.29" + "   15.32";

TEST(MqttUrlTest, ReadsEachPartAndRefusesWhatIsNoBroker)
{
    struct Row {
        const char* text;
        const char* display; // empty: refused
        const char* password;
    };
    const Row rows[] = {
        {"mqtt://broker", "mqtt://broker:1883/ventora", ""},
        {"mqtts://broker", "mqtts://broker:8883/ventora", ""},
        {"mqtt://st1:pw@10.0.0.5:1884/site/a", "mqtt://st1@10.0.0.5:1884/site/a", "pw"},
        {"mqtt://a%40b:p%3Aw%25@h", "mqtt://a@b@h:1883/ventora", "p:w%"},
        {"mqtt://u:@h", "mqtt://u@h:1883/ventora", ""},
        {"mqtt://[::1]:2000", "mqtt://::1:2000/ventora", ""},
        {"http://broker", "", ""},
        {"mqtt://", "", ""},
        {"mqtt://h:0", "", ""},
        {"mqtt://h:65536", "", ""},
        {"mqtt://h:x", "", ""},
        {"mqtt://:pw@h", "", ""},
        {"mqtt://u:%4@h", "", ""},
        {"mqtt://h/a/", "", ""},
        {"mqtt://h/a//b", "", ""},
        {"mqtt://h/a/#", "", ""},
        {"mqtt://[::1", "", ""},
    };
    for (const Row& row : rows) {
        MqttUrl url;
        std::string error;
        const bool ok = parseMqttUrl(row.text, url, &error);
        EXPECT_EQ(ok, *row.display != '\0') << row.text << ": " << error;
        if (ok) {
            EXPECT_EQ(url.display(), row.display) << row.text;
            EXPECT_EQ(url.password, row.password) << row.text;
        } else {
            EXPECT_FALSE(error.empty()) << row.text;
        }
    }
}

TEST(MqttTopicsTest, StationNamesAndTheStationOfASampleTopic)
{
    const std::pair<std::string, bool> names[] = {
        {"mast-1", true},           {"Ålesund", true},        {"a b", true},
        {"", false},                {"a/b", false},           {"a+", false},
        {"#", false},               {".", false},             {"..", false},
        {std::string(201, 'x'), false}, {"tab\t", false},     {"\xC3", false},
        {"\xED\xA0\x80", false},    {"\xC0\xAF", false},
    };
    for (const auto& [name, valid] : names)
        EXPECT_EQ(isStationName(name), valid) << name;

    const std::pair<const char*, const char*> topics[] = {
        {"site/a/mast1/sample", "mast1"}, {"site/a/+/sample", ""}, {"site/a/mast1/stats", ""},
        {"site/a//sample", ""},           {"site/ab/sample", ""},  {"site/a/x/y/sample", ""},
        {"other/mast1/sample", ""},
    };
    for (const auto& [topic, station] : topics)
        EXPECT_EQ(stationOfSampleTopic("site/a", topic).value_or(""), station) << topic;
    EXPECT_EQ(allSamplesTopic("ventora"), "ventora/+/sample");
}

class WithZone : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* zone = std::getenv("TZ"))
            saved_ = zone;
        ::setenv("TZ", "Europe/Berlin", 1);
        ::tzset();
    }
    void TearDown() override
    {
        if (saved_.empty())
            ::unsetenv("TZ");
        else
            ::setenv("TZ", saved_.c_str(), 1);
        ::tzset();
    }
    std::string saved_;
};

TEST_F(WithZone, LocalTimesCarryTheOffsetOfTheirMoment)
{
    EXPECT_EQ(isoLocalTime("2024/07/01 12:00:05"), "2024-07-01T12:00:05+02:00");
    EXPECT_EQ(isoLocalTime("2024/01/15 23:59:59"), "2024-01-15T23:59:59+01:00");
    EXPECT_EQ(isoLocalTime("2024/13/01 00:00:00"), "");
    EXPECT_EQ(isoLocalTime("2024/01/01 00:00"), "");
}

TEST_F(WithZone, ASampleCrossesToTheArchiverUnchanged)
{
    Unit unit;
    unit.setSpeedUnit("knots");
    std::string text = kDataText;
    text[15] = '\xB0'; // a byte beyond ASCII travels as the character of the same value
    const std::string json = samplePayload("mast-1", 42, "2024/07/01 12:00:05", text, unit);

    const auto document = nlohmann::json::parse(json);
    EXPECT_EQ(document["time"], "2024-07-01T12:00:05+02:00");
    EXPECT_EQ(document["values"]["SoW"], 3.21);
    EXPECT_TRUE(document["values"]["Azimuth"].is_null()); // "350.\xB0" is no number
    EXPECT_TRUE(document["values"]["Ain4"].is_null());    // marker
    EXPECT_TRUE(document["values"]["W"].is_null());       // blank
    EXPECT_TRUE(document["values"]["U-V"].is_null());     // "-0.02x"
    EXPECT_EQ(document["values"]["Elevation"], 3.0);
    EXPECT_EQ(document["values"]["T.Sonic"], 15.32);
    EXPECT_EQ(document["units"]["SoW"], "knots");
    EXPECT_EQ(document["units"]["T.Sonic"], "\xC2\xB0" "C");
    EXPECT_EQ(json.find("{\"station\":\"mast-1\",\"seq\":42,"), 0u);
    // A field's own digits: "3.0" stays a decimal, as in every other sample.
    EXPECT_NE(json.find("\"Elevation\":3.0,"), std::string::npos);

    SampleMessage message;
    ASSERT_TRUE(parseSamplePayload(json, message));
    EXPECT_EQ(message.station, "mast-1");
    EXPECT_EQ(message.seq, 42u);
    EXPECT_EQ(message.recordingTime, "2024/07/01 12:00:05");
    EXPECT_EQ(message.dataText, text);
}

TEST(SamplePayloadTest, RefusesWhatCannotBeArchived)
{
    const std::string line = "\"line\":\"" + kDataText + "\"";
    const std::string good = "\"station\":\"m\",\"seq\":1,\"time\":\"2024-07-01T12:00:05Z\"";
    const std::string rows[] = {
        "",
        "[]",
        "{" + good + "}",
        "{" + good + "," + line + ",",
        "{\"station\":\"m\",\"seq\":0,\"time\":\"2024-07-01T12:00:05Z\"," + line + "}",
        "{\"station\":\"m\",\"seq\":-3,\"time\":\"2024-07-01T12:00:05Z\"," + line + "}",
        "{\"station\":\"m\",\"seq\":1.5,\"time\":\"2024-07-01T12:00:05Z\"," + line + "}",
        "{\"station\":\"m\",\"seq\":\"1\",\"time\":\"2024-07-01T12:00:05Z\"," + line + "}",
        "{\"station\":\"m\",\"seq\":18446744073709551615,\"time\":\"2024-07-01T12:00:05Z\"," +
            line + "}",
        "{\"station\":\"../x\",\"seq\":1,\"time\":\"2024-07-01T12:00:05Z\"," + line + "}",
        "{\"station\":\"m\",\"seq\":1,\"time\":\"2024-07-01T12:00:05\"," + line + "}",
        "{\"station\":\"m\",\"seq\":1,\"time\":\"2024-02-30T12:00:05Z\"," + line + "}",
        "{\"station\":\"m\",\"seq\":1,\"time\":\"2024-07-01 12:00:05+01:00\"," + line + "}",
        "{" + good + ",\"line\":\"short\"}",
        "{" + good + ",\"line\":\"" + kDataText.substr(1) + "\\u0100\"}",
        "{" + good + ",\"line\":\"" + kDataText.substr(1) + "\\u0000\"}",
    };
    for (const std::string& row : rows) {
        SampleMessage message;
        EXPECT_FALSE(parseSamplePayload(row, message)) << row;
    }
    SampleMessage message;
    EXPECT_TRUE(parseSamplePayload("{" + good + "," + line + ",\"extra\":[1]}", message));
}

TEST_F(WithZone, StatisticsAndStatusPayloads)
{
    Unit unit;
    WindFigures figures;
    figures.start = 1719835200; // 2024/07/01 12:00:00 as a local second count
    figures.end = figures.start + 600;
    figures.samples = 1200;
    figures.meanSpeed = 3.456;
    figures.vectorDirection = 359.97;
    figures.directionSd = -0.01;
    const auto stats = nlohmann::json::parse(statsPayload("m", 600, figures, unit));
    EXPECT_EQ(stats["start"], "2024-07-01T12:00:00+02:00");
    EXPECT_EQ(stats["end"], "2024-07-01T12:10:00+02:00");
    EXPECT_EQ(stats["count"], 1200);
    EXPECT_EQ(stats["meanSpeed"], 3.46);
    EXPECT_EQ(stats["vectorDirection"], 0.0);
    EXPECT_EQ(stats["directionSd"].dump(), "0.0");
    EXPECT_TRUE(stats["gust"].is_null());

    const InstrumentLink link{"232", "/dev/ttyUSB0", 115200};
    const auto online = nlohmann::json::parse(onlinePayload("m", &link, unit));
    EXPECT_EQ(online["state"], "online");
    EXPECT_EQ(online["instrument"]["line"], "RS232");
    EXPECT_EQ(online["instrument"]["rate"], 115200);
    EXPECT_TRUE(nlohmann::json::parse(onlinePayload("m", nullptr, unit))["instrument"].is_null());
    EXPECT_EQ(offlinePayload("m"), "{\"station\":\"m\",\"state\":\"offline\"}");
}

} // namespace
