#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <set>

#include "chart/SeriesReduction.h"

namespace {

// What a path draws, independent of how it walks: for each column the span of its vertical
// run, and every line that crosses from one column to another.
struct Picture {
    std::map<int, std::pair<int, int>> runs;
    std::set<std::pair<std::pair<int, int>, std::pair<int, int>>> crossings;
    bool operator==(const Picture&) const = default;
};

Picture picture(const std::vector<PathPoint>& points, int left, int right)
{
    std::vector<PixelPoint> path;
    for (const PathPoint& p : points)
        path.push_back(p.pixel());
    Picture pic;
    auto addRun = [&](const PixelPoint& p) {
        if (p.x < left || p.x > right)
            return;
        auto [it, fresh] = pic.runs.try_emplace(p.x, p.y, p.y);
        it->second.first = std::min(it->second.first, p.y);
        it->second.second = std::max(it->second.second, p.y);
    };
    for (std::size_t i = 0; i < path.size(); ++i) {
        addRun(path[i]);
        if (i == 0 || path[i - 1].x == path[i].x)
            continue;
        const PixelPoint a = path[i - 1], b = path[i];
        if (std::max(a.x, b.x) >= left && std::min(a.x, b.x) <= right)
            pic.crossings.insert({{a.x, a.y}, {b.x, b.y}});
    }
    return pic;
}

CPointsCollection noisySeries(int n, unsigned seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 3);
    CPointsCollection c;
    c.reserve(n);
    double level = 0;
    for (int i = 0; i < n; ++i) {
        level += noise(random) * 0.2;
        const double spike = (i % 997 == 0) ? 40 : 0;
        c.addPoint(i * 0.5, level + noise(random) + spike);
    }
    return c;
}

TEST(SeriesReduction, CoincidentPixelsDrawOnce)
{
    CPointsCollection c;
    c.addPoint(0, 0);
    c.addPoint(0.01, 0); // same pixel as the first
    c.addPoint(5, 5);
    std::vector<PathPoint> path;
    distinctPixelPath(c, CAxisMap::make(0, 100, 0, 10), CAxisMap::make(100, 0, 0, 10), path);
    EXPECT_EQ(path, (std::vector<PathPoint>{{0, 100}, {50, 50}}));
}

TEST(SeriesReduction, ReducedPathDrawsWhatEveryPointDraws)
{
    const CPointsCollection c = noisySeries(20000, 1);
    const struct {
        double xFrom, xTo;
        int width;
    } views[] = {{0, 10000, 300},
                 {1234.5, 1300, 300},
                 {-50, 20, 200},
                 {9990, 10100, 100},
                 {2000, 2000.2, 50} /* fewer points than columns */};
    for (const auto& v : views) {
        const CAxisMap x = CAxisMap::make(0, v.width - 1, v.xFrom, v.xTo);
        const CAxisMap y = CAxisMap::make(199, 0, -60, 60);
        ASSERT_TRUE(canReduce(c, x));
        std::vector<PathPoint> all, reduced;
        distinctPixelPath(c, x, y, all);
        reducedPixelPath(c, x, y, 0, v.width - 1, reduced);
        EXPECT_TRUE(picture(all, 0, v.width - 1) == picture(reduced, 0, v.width - 1))
            << v.xFrom << ".." << v.xTo;
        EXPECT_LE(reduced.size(), static_cast<std::size_t>(4 * v.width + 2));
    }
}

TEST(SeriesReduction, LineAcrossTheViewWithoutPointsInIt)
{
    CPointsCollection c;
    c.addPoint(-100, 0);
    c.addPoint(100, 10);
    std::vector<PathPoint> reduced;
    reducedPixelPath(c, CAxisMap::make(0, 99, 0, 10), CAxisMap::make(99, 0, 0, 10), 0, 99, reduced);
    EXPECT_EQ(reduced.size(), 2u);
}

std::set<std::pair<int, int>> coverage(const std::vector<PixelPoint>& centres, int half, int left,
                                       int right, int top, int bottom)
{
    std::set<std::pair<int, int>> covered;
    for (const PixelPoint& p : centres)
        for (int dx = -half; dx <= half; ++dx)
            for (int dy = -half; dy <= half; ++dy)
                if (p.x + dx >= left && p.x + dx <= right && p.y + dy >= top && p.y + dy <= bottom)
                    covered.insert({p.x + dx, p.y + dy});
    return covered;
}

TEST(SeriesReduction, ReducedMarksCoverWhatEveryMarkCovers)
{
    const CPointsCollection noisy = noisySeries(60000, 2);
    // A comb: within every block of the pyramid each point has a row of its own, 6 rows from
    // the next, so no mark is covered by others and every point of every block counts.
    CPointsCollection comb;
    for (int i = 0; i < 60000; ++i)
        comb.addPoint(i * 0.5, (i * 37 % 128) * 0.75);
    struct Case {
        const char* name;
        const CPointsCollection& points;
        double xTo;        // the columns 0..59 show x from 100 to xTo
        double yLow, yHigh; // rows 0..79 (799 for the comb) show these values
        int bottom;
        bool dense; // far fewer marks than points
    } cases[] = {
        {"noisy, 100 points a column", noisy, 3000, -30, 30, 79, true},
        {"noisy, 7 points a column", noisy, 200, -30, 30, 79, false},
        {"noisy, 1000 points a column", noisy, 30000, -30, 30, 79, true},
        {"comb, 1000 points a column", comb, 30000, 0, 100, 799, false},
    };
    for (const Case& k : cases) {
        for (int half : {0, 2, 3}) {
            const CAxisMap x = CAxisMap::make(0, 59, 100, k.xTo);
            const CAxisMap y = CAxisMap::make(k.bottom, 0, k.yLow, k.yHigh);
            std::vector<PathPoint> path;
            std::vector<PixelPoint> all, reduced;
            distinctPixelPath(k.points, x, y, path);
            for (const PathPoint& p : path)
                all.push_back(p.pixel());
            reducedMarkPixels(k.points, x, y, 0, 59, 0, k.bottom, half, reduced);
            EXPECT_EQ(coverage(all, half, 0, 59, 0, k.bottom),
                      coverage(reduced, half, 0, 59, 0, k.bottom))
                << k.name << ", half " << half;
            if (k.dense) {
                EXPECT_LT(reduced.size() * 3, all.size()) << k.name;
            }
        }
    }
}

// Points that are not finite, wherever they stand, change nothing in either path: both draw what
// they draw without them.
TEST(SeriesReduction, PointsThatAreNotFiniteDrawAsIfAbsent)
{
    const CPointsCollection clean = noisySeries(5000, 5);
    CPointsCollection dirty;
    const double nan = std::nan(""), inf = HUGE_VAL;
    const GraphPoint strays[] = {{-inf, 1}, {inf, 2}, {nan, 3}, {nan, nan}};
    for (const GraphPoint& p : strays)
        dirty.addPoint(p.x, p.y);
    for (int i = 0; i < clean.count(); ++i) {
        dirty.addPoint(clean.at(i).x, clean.at(i).y);
        if (i % 7 == 3) // between two kept points
            dirty.addPoint(clean.at(i).x + 0.1, i % 2 ? nan : -inf);
    }
    for (int i = 0; i < 2000; ++i) // a stretch of columns with nothing to draw, then a point
        dirty.addPoint(2500 + i * 0.2, nan);
    dirty.addPoint(3000, 1);
    CPointsCollection ending = clean;
    ending.addPoint(3000, 1);
    const CAxisMap y = CAxisMap::make(199, 0, -60, 60);
    std::vector<PathPoint> cleanPath, dirtyPath, reduced;
    for (const double xTo : {2600.0, 3300.0}) {
        const CAxisMap x = CAxisMap::make(0, 299, 500, xTo);
        ASSERT_TRUE(canReduce(dirty, x));
        distinctPixelPath(ending, x, y, cleanPath);
        distinctPixelPath(dirty, x, y, dirtyPath);
        EXPECT_EQ(dirtyPath, cleanPath) << xTo;
        reducedPixelPath(dirty, x, y, 0, 299, reduced);
        EXPECT_TRUE(picture(reduced, 0, 299) == picture(cleanPath, 0, 299)) << xTo;
        std::vector<PixelPoint> cleanMarks, dirtyMarks;
        reducedMarkPixels(ending, x, y, 0, 299, 0, 199, 2, cleanMarks);
        reducedMarkPixels(dirty, x, y, 0, 299, 0, 199, 2, dirtyMarks);
        EXPECT_EQ(coverage(dirtyMarks, 2, 0, 299, 0, 199), coverage(cleanMarks, 2, 0, 299, 0, 199))
            << xTo;
    }
    const CAxisMap x = CAxisMap::make(0, 299, 500, 2600);
    CPointsCollection nothing;
    nothing.addPoint(1, nan);
    nothing.addPoint(nan, 1);
    distinctPixelPath(nothing, x, y, dirtyPath);
    reducedPixelPath(nothing, x, y, 0, 299, reduced);
    EXPECT_TRUE(dirtyPath.empty());
    EXPECT_TRUE(reduced.empty());
}

// A line to a point far outside keeps its slope: the clipped end lies on the true line.
TEST(SeriesReduction, ClippedLinesKeepTheirSlope)
{
    struct Case {
        PathPoint from, to;
    } cases[] = {
        {{100, 50}, {6.4e8, -1.8e8}},              // far right and above
        {{-3e12, 100 - 3e11}, {5e12, 100 + 5e11}}, // from far left to far right, across
        {{10, 10}, {10, 1e15}},                    // straight down
        {{2e9, 300 - 2e9}, {-2e9, 300 + 2e9}},     // both ends far off, across a corner
    };
    for (const Case& c : cases) {
        std::vector<PixelLine> lines;
        clipPathLines({c.from, c.to}, 0, 0, 639, 359, lines);
        ASSERT_EQ(lines.size(), 1u);
        for (const PixelPoint& end : {lines[0].from, lines[0].to}) {
            EXPECT_GE(end.x, -kClipMargin - 1);
            EXPECT_LE(end.x, 639 + kClipMargin + 1);
            EXPECT_GE(end.y, -kClipMargin - 1);
            EXPECT_LE(end.y, 359 + kClipMargin + 1);
            // Distance from the true line, in pixels.
            const double dx = c.to.x - c.from.x, dy = c.to.y - c.from.y;
            const double distance =
                std::fabs(dy * (end.x - c.from.x) - dx * (end.y - c.from.y)) / std::hypot(dx, dy);
            EXPECT_LT(distance, 1.0) << end.x << "," << end.y;
        }
    }
    // Lines wholly outside are dropped; lines inside keep their ends exactly.
    std::vector<PixelLine> lines;
    clipPathLines({{-5000, 0}, {-4000, 300}, {10, 20}, {30, 40}}, 0, 0, 639, 359, lines);
    EXPECT_EQ(lines, (std::vector<PixelLine>{{{-1024, 92}, {10, 20}}, {{10, 20}, {30, 40}}}));
}

TEST(SeriesReduction, OnlySortedDataWithGrowingXIsReduced)
{
    CPointsCollection unsorted(false);
    CPointsCollection sorted;
    EXPECT_FALSE(canReduce(unsorted, CAxisMap::make(0, 10, 0, 1)));
    EXPECT_TRUE(canReduce(sorted, CAxisMap::make(0, 10, 0, 1)));
    EXPECT_FALSE(canReduce(sorted, CAxisMap::make(0, 10, 1, 0)));
    EXPECT_FALSE(canReduce(sorted, CAxisMap::make(0, 10, 1, 1)));
}

} // namespace
