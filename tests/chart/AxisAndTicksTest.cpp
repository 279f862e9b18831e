#include <gtest/gtest.h>

#include <cmath>

#include "chart/AxisDescription.h"
#include "chart/PlotMath.h"
#include "chart/Ticks.h"

namespace {

TEST(AxisDescription, ThreeFormats)
{
    CAxisDescription axis;
    EXPECT_EQ(axis.format(1.23456, 0), "1.235"); // precision 3 by default
    axis.set("Speed", "m/s", 1);
    EXPECT_EQ(axis.formatString(0), "%0.1f");
    EXPECT_EQ(axis.formatString(1), "%0.1f m/s");
    EXPECT_EQ(axis.formatString(2), "Speed: %0.1f m/s");
    EXPECT_EQ(axis.format(-2.25, 0), "-2.2");
    EXPECT_EQ(axis.format(2.26, 1), "2.3 m/s");
    EXPECT_EQ(axis.format(2.26, 2), "Speed: 2.3 m/s");
    for (int bad : {3, -1, 100}) {
        EXPECT_EQ(axis.format(1, bad), "") << bad;
        EXPECT_EQ(axis.formatString(bad), "") << bad;
    }
}

TEST(AxisDescription, PercentInUserTextStaysText)
{
    CAxisDescription axis;
    axis.set("Hum %s %n", "%", 2);
    EXPECT_EQ(axis.formatString(1), "%0.2f %%");
    EXPECT_EQ(axis.format(45, 1), "45.00 %");
    EXPECT_EQ(axis.format(45, 2), "Hum %s %n: 45.00 %");
    axis.set("", "", -4); // no negative precision reaches printf
    EXPECT_EQ(axis.format(2.6, 0), "3");
}

TEST(Ticks, Exponent)
{
    const struct {
        double a, b;
        int p;
    } cases[] = {{0, 12, 1},   {0, 500, 2},  {0, 0, 0},     {0.5, 0, -1}, {-3, 2, 0},
                 {0, 0.05, -2}, {1, 1, 0},    {-999, 10, 2}, {9.99, 0, 0}, {0, 1e6, 6}};
    for (const auto& c : cases)
        EXPECT_EQ(tickExponent(c.a, c.b), c.p) << c.a << ".." << c.b;
}

TEST(Ticks, StepSeriesStartsAtOneTenth)
{
    const struct {
        double span;
        int capacity;
        double step;
    } cases[] = {{1.2, 20, 0.1}, {5, 20, 0.5}, {2, 20, 0.1}, {3, 20, 0.2},
                 {9, 2, 5},      {30, 2, 20},  {5, 0, 0.1},  {0.001, 5, 0.1}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(tickStep(c.span, c.capacity), c.step) << c.span << "/" << c.capacity;
}

TEST(Ticks, ThirteenRowsGiveATickPerRow)
{
    const TickSet set = computeTicks(0, 12, 20);
    EXPECT_EQ(set.exponent, 1);
    EXPECT_DOUBLE_EQ(set.step, 0.1);
    ASSERT_EQ(set.ticks.size(), 13u);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(static_cast<int>(set.ticks[static_cast<std::size_t>(i)].value), i);
    // Every fifth tick carries a label: rows 0, 5 and 10.
    EXPECT_EQ(tickLabel(set.ticks[0]), "0.0");
    EXPECT_EQ(tickLabel(set.ticks[5]), "0.5");
    EXPECT_EQ(tickLabel(set.ticks[10]), "1.0");
}

TEST(Ticks, FiveHundredScaledByE2)
{
    const TickSet set = computeTicks(0, 500, 20);
    EXPECT_EQ(set.exponent, 2);
    EXPECT_DOUBLE_EQ(set.step, 0.5);
    std::vector<std::string> labels;
    for (const Tick& t : set.ticks)
        labels.push_back(tickLabel(t));
    EXPECT_EQ(labels, (std::vector<std::string>{"0.0", "0.5", "1.0", "1.5", "2.0", "2.5", "3.0",
                                                 "3.5", "4.0", "4.5", "5.0"}));
    EXPECT_DOUBLE_EQ(set.ticks.back().value, 500);
    const std::vector<double> halves = halfStepMarks(set, 0, 500);
    ASSERT_EQ(halves.size(), 10u);
    EXPECT_DOUBLE_EQ(halves.front(), 0.25);
    EXPECT_DOUBLE_EQ(halves.back(), 4.75);
    EXPECT_DOUBLE_EQ(unscaledValue(set, halves.back()), 475);
}

TEST(Ticks, DegenerateRangesGiveNoTicksAndReturn)
{
    // 0..0 and equal negative ends would scale forever without the guard.
    for (double v : {0.0, -5.0, 5.0, 1e-300})
        EXPECT_TRUE(computeTicks(v, v, 20).ticks.empty()) << v;
    EXPECT_TRUE(computeTicks(0, NAN, 20).ticks.empty());
    EXPECT_TRUE(computeTicks(0, INFINITY, 20).ticks.empty());
    EXPECT_TRUE(computeTicks(0, 1, 0).ticks.size() == 11u); // capacity 0: step 0.1
}

TEST(Ticks, NarrowAndReversedRanges)
{
    // A narrow range is scaled up until its ends differ by at least 0.2.
    const TickSet narrow = computeTicks(0.001, 0.002, 10);
    EXPECT_EQ(narrow.exponent, -3);
    ASSERT_EQ(narrow.ticks.size(), 11u);
    EXPECT_DOUBLE_EQ(narrow.ticks.front().value, 0.001);
    EXPECT_DOUBLE_EQ(narrow.ticks.back().value, 0.002);

    const TickSet near100 = computeTicks(100, 100.1, 20);
    EXPECT_EQ(near100.exponent, 0);
    ASSERT_EQ(near100.ticks.size(), 2u);

    const TickSet negative = computeTicks(-5.001, -5.0, 20);
    EXPECT_FALSE(negative.ticks.empty());

    const TickSet reversed = computeTicks(12, 0, 20);
    ASSERT_EQ(reversed.ticks.size(), 13u);
    EXPECT_EQ(static_cast<int>(reversed.ticks.front().value), 12);
    EXPECT_EQ(static_cast<int>(std::round(reversed.ticks.back().value)), 0);

    // The first tick is the round value inside the range nearest its start.
    const TickSet offset = computeTicks(3.14, 9.7, 10);
    EXPECT_DOUBLE_EQ(offset.ticks.front().value, 4);
    EXPECT_DOUBLE_EQ(offset.ticks.back().value, 9);
    // A range narrower than the smallest step has no ticks.
    EXPECT_TRUE(computeTicks(0.15, 0.19, 1).ticks.empty());
}

TEST(Ticks, CapacityAndLabelFit)
{
    EXPECT_EQ(tickCapacity(200, 16, 30), 7); // 184 / 30 rounded up
    EXPECT_EQ(tickCapacity(196, 16, 30), 6);
    EXPECT_EQ(tickCapacity(10, 16, 30), 0);
    EXPECT_EQ(tickCapacity(200, 16, 0), 0);
    EXPECT_TRUE(labelFits(50, 20, 40, 60));
    EXPECT_FALSE(labelFits(50, 22, 40, 60));
    EXPECT_FALSE(labelFits(45, 20, 40, 60));
}

TEST(PlotMath, MappingAndItsInverse)
{
    const CAxisMap x = CAxisMap::make(0, 100, 0, 10);
    EXPECT_EQ(x.toPixel(5), 50);
    EXPECT_EQ(x.toPixel(10), 100);
    EXPECT_EQ(x.toPixel(0.099), 0); // fractions dropped
    EXPECT_DOUBLE_EQ(x.toValue(50), 5);
    for (int pixel : {0, 13, 77, 100})
        EXPECT_EQ(x.toPixel(x.toValue(pixel) + 1e-9), pixel);

    const CAxisMap y = CAxisMap::make(99, 0, 0, 9.9); // bottom to top
    EXPECT_EQ(y.toPixel(0), 99);
    EXPECT_EQ(y.toPixel(9.9), 0);
    EXPECT_DOUBLE_EQ(y.toValue(0), 9.9);
    EXPECT_FALSE(y.increasing());

    const CAxisMap coincident = CAxisMap::make(7, 7, 0, 10);
    EXPECT_EQ(coincident.toPixel(3), 7);
    EXPECT_EQ(coincident.toPixel(1e9), 7);
    EXPECT_DOUBLE_EQ(coincident.toValue(50), 0);

    const CAxisMap flat = CAxisMap::make(100, 0, 5, 5); // equal ends: the middle
    EXPECT_EQ(flat.toPixel(5), 50);
    EXPECT_EQ(flat.toPixel(-1e300), 50);

    EXPECT_EQ(x.toPixel(1e300), static_cast<int>(kPixelLimit));
    EXPECT_EQ(x.toPixel(-INFINITY), -static_cast<int>(kPixelLimit));
    EXPECT_EQ(x.toPixel(NAN), 0);
}

TEST(PlotMath, ZoomResetWidensEqualEnds)
{
    const struct {
        double lo, hi, from, to;
    } cases[] = {{0, 12, 0, 12}, {5, 5, 4.5, 5.5}, {0, 0, -1, 1}, {-5, -5, -5.5, -4.5},
                 {5e-324, 5e-324, 5e-324 - 1, 5e-324 + 1}}; // a tenth of it is 0
    for (const auto& c : cases) {
        const PlotRanges r = zoomResetRanges(c.lo, c.hi, c.lo, c.hi);
        EXPECT_DOUBLE_EQ(r.xFrom, c.from) << c.lo;
        EXPECT_DOUBLE_EQ(r.xTo, c.to) << c.lo;
        EXPECT_DOUBLE_EQ(r.yFrom, c.from) << c.lo;
        EXPECT_DOUBLE_EQ(r.yTo, c.to) << c.lo;
    }
}

TEST(PlotMath, PanZoomAndExtend)
{
    const PlotRanges view{0, 10, 0, 100};
    const CAxisMap x = CAxisMap::make(0, 100, view.xFrom, view.xTo);
    const CAxisMap y = CAxisMap::make(100, 0, view.yFrom, view.yTo);
    // Dragging right and down by 10 pixels moves the data with the mouse.
    const PlotRanges panned = panRanges(view, x, y, 50, 50, 60, 60);
    EXPECT_DOUBLE_EQ(panned.xFrom, -1);
    EXPECT_DOUBLE_EQ(panned.xTo, 9);
    EXPECT_DOUBLE_EQ(panned.yFrom, 10);
    EXPECT_DOUBLE_EQ(panned.yTo, 110);

    const PlotRanges zoomed = zoomRanges(x, y, 20, 10, 40, 60);
    EXPECT_EQ(zoomed, (PlotRanges{2, 4, 40, 90}));

    PlotRanges r = view;
    EXPECT_FALSE(extendRangesFor(r, 5, 50));
    EXPECT_TRUE(extendRangesFor(r, -3, 50));
    EXPECT_EQ(r, (PlotRanges{-3, 10, 0, 100}));
    EXPECT_TRUE(extendRangesFor(r, 5, 120));
    EXPECT_EQ(r, (PlotRanges{-3, 10, 0, 120}));
    EXPECT_FALSE(extendRangesFor(r, NAN, NAN));
}

} // namespace
