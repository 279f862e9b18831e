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

Picture picture(const std::vector<PixelPoint>& path, int left, int right)
{
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
    std::vector<PixelPoint> path;
    distinctPixelPath(c, CAxisMap::make(0, 100, 0, 10), CAxisMap::make(100, 0, 0, 10), path);
    EXPECT_EQ(path, (std::vector<PixelPoint>{{0, 100}, {50, 50}}));
}

TEST(SeriesReduction, ReducedPathDrawsWhatEveryPointDraws)
{
    const CPointsCollection c = noisySeries(20000, 1);
    const struct {
        double xFrom, xTo;
        int width;
    } views[] = {{0, 10000, 300}, {1234.5, 1300, 300}, {-50, 20, 200}, {9990, 10100, 100},
                 {2000, 2000.2, 50} /* fewer points than columns */};
    for (const auto& v : views) {
        const CAxisMap x = CAxisMap::make(0, v.width - 1, v.xFrom, v.xTo);
        const CAxisMap y = CAxisMap::make(199, 0, -60, 60);
        ASSERT_TRUE(canReduce(c, x));
        std::vector<PixelPoint> all, reduced;
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
    std::vector<PixelPoint> reduced;
    reducedPixelPath(c, CAxisMap::make(0, 99, 0, 10), CAxisMap::make(99, 0, 0, 10), 0, 99,
                     reduced);
    EXPECT_EQ(reduced.size(), 2u);
}

std::set<std::pair<int, int>> coverage(const std::vector<PixelPoint>& centres, int half, int left,
                                       int right, int top, int bottom)
{
    std::set<std::pair<int, int>> covered;
    for (const PixelPoint& p : centres)
        for (int dx = -half; dx <= half; ++dx)
            for (int dy = -half; dy <= half; ++dy)
                if (p.x + dx >= left && p.x + dx <= right && p.y + dy >= top &&
                    p.y + dy <= bottom)
                    covered.insert({p.x + dx, p.y + dy});
    return covered;
}

TEST(SeriesReduction, ReducedMarksCoverWhatEveryMarkCovers)
{
    const CPointsCollection c = noisySeries(6000, 2);
    for (int half : {0, 2, 3}) {
        for (double xTo : {3000.0, 200.0}) {
            const CAxisMap x = CAxisMap::make(0, 59, 100, xTo);
            const CAxisMap y = CAxisMap::make(79, 0, -30, 30);
            std::vector<PixelPoint> all, reduced;
            distinctPixelPath(c, x, y, all);
            reducedMarkPixels(c, x, y, 0, 59, 0, 79, half, reduced);
            EXPECT_EQ(coverage(all, half, 0, 59, 0, 79), coverage(reduced, half, 0, 59, 0, 79))
                << half << " " << xTo;
            if (xTo > 1000) { // dense: far fewer marks than points
                EXPECT_LT(reduced.size() * 3, all.size());
            }
        }
    }
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
