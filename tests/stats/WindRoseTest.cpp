#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "stats/WindRose.h"

TEST(WindRose, SectorsAreCentredOnTheirNamesAndClassesStartAtTheirEdges)
{
    const std::vector<std::pair<double, const char*>> directions = {
        {0, "N"},   {11.24, "N"},   {11.25, "NNE"},  {348.75, "N"}, {348.74, "NNW"},
        {360, "N"}, {-11.25, "N"},  {-11.26, "NNW"}, {720, "N"},    {90, "E"},
        {180, "S"}, {202.5, "SSW"}, {270, "W"},      {337.5, "NNW"}};
    for (const auto& [direction, name] : directions)
        EXPECT_STREQ(CWindRose::sectorName(CWindRose::sectorOf(direction)), name) << direction;

    const std::vector<std::pair<double, int>> speeds = {
        {0, -1},   {0.49, -1}, {std::nan(""), -1}, {-3, -1}, {0.5, 0},
        {1.99, 0}, {2, 1},     {9.99, 4},          {10, 5},  {1e9, 5}};
    for (const auto& [speed, speedClass] : speeds)
        EXPECT_EQ(CWindRose::classOf(speed), speedClass) << speed;
    EXPECT_EQ(CWindRose::className(0), "0.5-2");
    EXPECT_EQ(CWindRose::className(4), "8-10");
    EXPECT_EQ(CWindRose::className(5), "10+");
}

TEST(WindRose, CountsSharesOfTheSamplesWithSpeedAndDirection)
{
    CWindRose rose;
    EXPECT_EQ(rose.calmShare(), 0.0);
    EXPECT_EQ(rose.largestSectorShare(), 0.0);
    const std::vector<std::pair<const char*, const char*>> rows = {
        {"    3.00", "  359.0 "}, {"    3.50", "    5.0 "}, {"   12.00", "  180.0 "},
        {"    0.20", "   90.0 "}, {"    _err", "   90.0 "}, {"    5.00", "---- -- "},
        {"    0.00", ""}};
    for (const auto& [speed, direction] : rows)
        rose.add(makeWindSample(0, speed, direction, "", ""));
    EXPECT_EQ(rose.total(), 4);
    EXPECT_EQ(rose.missing(), 3);
    EXPECT_EQ(rose.calm(), 1);
    EXPECT_EQ(rose.count(0, 1), 2); // N, 2-4
    EXPECT_EQ(rose.count(8, 5), 1); // S, 10+
    EXPECT_EQ(rose.count(4, 0), 0); // the calm row at 90 degrees is in no sector
    EXPECT_DOUBLE_EQ(rose.sectorShare(0), 0.5);
    EXPECT_DOUBLE_EQ(rose.calmShare(), 0.25);
    EXPECT_DOUBLE_EQ(rose.largestSectorShare(), 0.5);
    double all = rose.calmShare();
    for (int s = 0; s < CWindRose::kSectors; ++s)
        all += rose.sectorShare(s);
    EXPECT_DOUBLE_EQ(all, 1.0);
    rose.clear();
    EXPECT_EQ(rose.total(), 0);
    EXPECT_EQ(rose.count(0, 1), 0);
}
