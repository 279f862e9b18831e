#include <gtest/gtest.h>

#include "tools/va7310-sim/SimOptions.h"

namespace {

SimParse parse(std::vector<std::string> args, SimOptions* options, std::string* message)
{
    return parseSimOptions(args, options, message);
}

TEST(SimOptionsTest, DefaultsAndEveryOption)
{
    SimOptions options;
    std::string message;
    ASSERT_EQ(parse({}, &options, &message), SimParse::Run);
    EXPECT_EQ(options.mode, 232);
    EXPECT_EQ(options.baud, 9600);
    EXPECT_EQ(options.periodMs, 1000);
    EXPECT_EQ(options.unit, "m/s");
    EXPECT_EQ(options.address, 1);
    EXPECT_TRUE(options.linkPath.empty());
    EXPECT_FALSE(options.instant) << "lines take the wire's time unless asked otherwise";

    ASSERT_EQ(parse({"--mode", "485", "--baud=38400", "--period", "250", "--unit", "km/h",
                     "--address", "15", "--link", "/tmp/x", "--seed", "7", "-v",
                     "--silent-after", "3", "--garble=2", "--long-after", "4", "--markers", "5",
                     "--hangup-after", "6", "--hangup-mid-line", "8", "--instant"},
                    &options, &message),
              SimParse::Run)
        << message;
    EXPECT_EQ(options.mode, 485);
    EXPECT_EQ(options.baud, 38400);
    EXPECT_EQ(options.periodMs, 250);
    EXPECT_EQ(options.unit, "km/h");
    EXPECT_EQ(options.address, 15);
    EXPECT_EQ(options.linkPath, "/tmp/x");
    EXPECT_EQ(options.seed, 7u);
    EXPECT_TRUE(options.verbose);
    EXPECT_EQ(options.silentAfter, 3);
    EXPECT_EQ(options.garble, 2);
    EXPECT_EQ(options.longAfter, 4);
    EXPECT_EQ(options.markersEvery, 5);
    EXPECT_EQ(options.hangupAfter, 6);
    EXPECT_EQ(options.hangupMidLine, 8);
    EXPECT_TRUE(options.instant);
}

TEST(SimOptionsTest, RejectsBadInputWithAClearMessage)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--mode", "422"}, "invalid value '422' for option '--mode'"},
        {{"--baud", "12345"}, "invalid value '12345' for option '--baud'"},
        {{"--baud", "96OO"}, "invalid value '96OO' for option '--baud'"},
        {{"--period", "0"}, "invalid value '0' for option '--period'"},
        {{"--unit", "m&s"}, "invalid value 'm&s' for option '--unit'"},
        {{"--unit="}, "invalid value '' for option '--unit'"},
        {{"--address", "16"}, "invalid value '16' for option '--address'"},
        {{"--garble", "-1"}, "invalid value '-1' for option '--garble'"},
        {{"--baud"}, "option '--baud' needs a value"},
        {{"--speed", "1"}, "unknown option '--speed'"},
        {{"485"}, "unknown option '485'"},
    };
    for (const auto& [args, expected] : cases) {
        SimOptions options;
        std::string message;
        EXPECT_EQ(parse(args, &options, &message), SimParse::Error) << expected;
        EXPECT_EQ(message, expected);
    }
}

TEST(SimOptionsTest, HelpWinsAndDescribesEveryOption)
{
    SimOptions options;
    std::string message;
    EXPECT_EQ(parse({"--baud", "9600", "--help"}, &options, &message), SimParse::Help);
    EXPECT_EQ(parse({"-h"}, &options, &message), SimParse::Help);
    for (const char* option : {"--mode", "--baud", "--period", "--unit", "--address", "--link",
                               "--seed", "--verbose", "--silent-after", "--garble", "--long-after",
                               "--markers", "--hangup-after", "--hangup-mid-line", "--instant",
                               "--help"})
        EXPECT_NE(simUsage().find(option), std::string::npos) << option;
}

} // namespace
