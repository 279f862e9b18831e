#include <gtest/gtest.h>

#include "app/view/OverviewLayout.h"

TEST(OverviewLayout, InitialAndAfterMenuLayoutsShowTwoEmptyColumns)
{
    Unit unit;
    for (int layout : {kLayoutInitial, kLayoutAfterMenu}) {
        const COverviewLayout result = overviewLayout(layout, unit);
        ASSERT_EQ(result.columns.size(), 2u);
        EXPECT_EQ(result.columns[0],
                  (COverviewColumn{"Time\n..Date", ColumnAlign::Left, 65, true}));
        EXPECT_EQ(result.columns[1], (COverviewColumn{"", ColumnAlign::Left, 70, true}));
        EXPECT_EQ(result.ledState, 2);
        EXPECT_EQ(result.recIndicator, false);
        EXPECT_EQ(result.recording, false);
        EXPECT_EQ(result.firstDisplay, layout == kLayoutInitial);
    }
}

TEST(OverviewLayout, DataLayoutTitlesCarryTheReportedSpeedUnit)
{
    Unit unit;
    COverviewLayout before = overviewLayout(kLayoutData, unit);
    ASSERT_EQ(before.columns.size(), 14u);
    EXPECT_EQ(before.columns[1].title, "SoW\n");

    unit.setSpeedUnit("m/s");
    const COverviewLayout result = overviewLayout(kLayoutData, unit);
    ASSERT_EQ(result.columns.size(), 14u);
    const char* titles[] = {"Time\n..Date",
                            "SoW\nm/s",
                            "Azimuth\n\xB0",
                            "Pressure\nmbar",
                            "Temperature\n\xB0"
                            "C",
                            "Humidity\n%",
                            "Ain4\n",
                            "U\nm/s",
                            "V\nm/s",
                            "W\nm/s",
                            "U-V\nm/s",
                            "Elevation\n\xB0",
                            "SoS\nm/s",
                            "T.Sonic\n\xB0"
                            "C"};
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(result.columns[i].title, titles[i]) << i;
        EXPECT_EQ(result.columns[i].width, i == 0 ? 65 : 70) << i;
        EXPECT_EQ(result.columns[i].align, ColumnAlign::Center) << i;
        EXPECT_TRUE(result.columns[i].ownerDrawn) << i;
    }
    EXPECT_EQ(result.ledState, 0);
    EXPECT_EQ(result.recIndicator, true);
    EXPECT_EQ(result.recording, true);
    EXPECT_FALSE(result.firstDisplay);
}

TEST(OverviewLayout, SetupMenuLeavesTheRecordingFlagAlone)
{
    const COverviewLayout setup = setupMenuLayout();
    ASSERT_EQ(setup.columns.size(), 1u);
    EXPECT_EQ(setup.columns[0], (COverviewColumn{"Setup", ColumnAlign::Left, 500, false}));
    EXPECT_EQ(setup.ledState, 2);
    EXPECT_EQ(setup.recIndicator, false);
    EXPECT_FALSE(setup.recording.has_value());

    // An unknown layout only removes the columns.
    const COverviewLayout other = overviewLayout(7);
    EXPECT_TRUE(other.columns.empty());
    EXPECT_FALSE(other.ledState || other.recIndicator || other.recording);
}
