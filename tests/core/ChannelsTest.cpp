#include <gtest/gtest.h>

#include "core/CText.h"
#include "core/Channels.h"

TEST(Channels, TitlesBeforeAndAfterIdentification)
{
    Unit unit;
    EXPECT_EQ(overviewColumnTitle(0, unit), "Time\n..Date");
    EXPECT_EQ(overviewColumnTitle(1, unit), "SoW\n");
    EXPECT_EQ(overviewColumnTitle(2, unit), "Azimuth\n\xB0");
    EXPECT_EQ(overviewColumnTitle(3, unit), "Pressure\nmbar");
    EXPECT_EQ(overviewColumnTitle(6, unit), "Ain4\n");
    EXPECT_EQ(overviewColumnTitle(13, unit), "T.Sonic\n\xB0" "C");

    unit.setSpeedUnit("m/s");
    for (int column : {1, 7, 8, 9, 10, 12})
        EXPECT_EQ(overviewColumnTitle(column, unit).substr(overviewColumnTitle(column, unit).find('\n')), "\nm/s")
            << column;
    EXPECT_EQ(overviewColumnTitle(4, unit), "Temperature\n\xB0" "C");
    EXPECT_EQ(overviewColumnTitle(5, unit), "Humidity\n%");
    EXPECT_EQ(overviewColumnTitle(11, unit), "Elevation\n\xB0");
    EXPECT_EQ(unit.text(Unit::Unused), "\xB0" "C");
    EXPECT_EQ(viewerColumnTitle(9, unit), "U-V m/s");
    EXPECT_EQ(logChannelName(9), std::string("vv_UV"));

    unit.reset();
    EXPECT_EQ(overviewColumnTitle(12, unit), "SoS\n");
}

TEST(CText, ConversionsFollowTheCLibrary)
{
    EXPECT_EQ(ctext::toInt(" 1024 "), 1024);
    EXPECT_EQ(ctext::toInt("-7abc"), -7);
    EXPECT_EQ(ctext::toInt("abc"), 0);
    EXPECT_EQ(ctext::toInt("99999999999999"), 2147483647);
    EXPECT_DOUBLE_EQ(ctext::toDouble("   12.5 "), 12.5);
    EXPECT_DOUBLE_EQ(ctext::toDouble("-0.25e1x"), -2.5);
    EXPECT_DOUBLE_EQ(ctext::toDouble("_err"), 0.0);
    EXPECT_DOUBLE_EQ(ctext::toDouble(""), 0.0);
    EXPECT_EQ(ctext::trimBoth(" \t a b \r\n"), "a b");
}
