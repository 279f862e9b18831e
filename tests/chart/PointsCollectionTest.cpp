#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "chart/IndexedValues.h"
#include "chart/PointsCollection.h"
#include "tests/chart/VectorValues.h"

namespace {

std::vector<GraphPoint> build(bool sorted, bool duplicates, std::vector<GraphPoint> input)
{
    CPointsCollection c(sorted, duplicates);
    for (const auto& p : input)
        c.addPoint(p.x, p.y);
    return c.points();
}

TEST(PointsCollection, OrderAndDuplicateRules)
{
    struct Case {
        const char* name;
        bool sorted, duplicates;
        std::vector<GraphPoint> input, expected;
    };
    const Case cases[] = {
        {"sorted replaces same x", true, false, {{5, 1}, {5, 2}}, {{5, 2}}},
        {"duplicates go before", true, true, {{5, 1}, {5, 2}}, {{5, 2}, {5, 1}}},
        {"sorted orders x", true, false, {{3, 0}, {1, 0}, {2, 0}}, {{1, 0}, {2, 0}, {3, 0}}},
        {"unsorted keeps order", false, false, {{3, 0}, {1, 0}, {2, 0}}, {{3, 0}, {1, 0}, {2, 0}}},
        {"unsorted keeps duplicates", false, false, {{5, 1}, {5, 2}}, {{5, 1}, {5, 2}}},
        {"replace in the middle",
         true,
         false,
         {{1, 1}, {2, 2}, {3, 3}, {2, 9}},
         {{1, 1}, {2, 9}, {3, 3}}},
        {"duplicate before first equal",
         true,
         true,
         {{1, 1}, {2, 2}, {2, 3}, {3, 3}, {2, 4}},
         {{1, 1}, {2, 4}, {2, 3}, {2, 2}, {3, 3}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(build(c.sorted, c.duplicates, c.input), c.expected) << c.name;
}

TEST(PointsCollection, AddReturnsTheIndexThePointTook)
{
    CPointsCollection c;
    EXPECT_EQ(c.addPoint(10, 0), 0);
    EXPECT_EQ(c.addPoint(20, 0), 1);
    EXPECT_EQ(c.addPoint(5, 0), 0);
    EXPECT_EQ(c.addPoint(15, 0), 2);
    EXPECT_EQ(c.addPoint(15, 1), 2); // replaced
    EXPECT_EQ(c.count(), 4);
}

TEST(PointsCollection, BoundsFollowThePoints)
{
    CPointsCollection c;
    EXPECT_EQ(c.minX(), 0);
    EXPECT_EQ(c.maxY(), 0);
    c.addPoint(2, -3);
    EXPECT_EQ(c.minX(), 2);
    EXPECT_EQ(c.maxX(), 2);
    EXPECT_EQ(c.minY(), -3);
    EXPECT_EQ(c.maxY(), -3);
    c.addPoint(1, 10);
    c.addPoint(4, 0);
    EXPECT_EQ(c.minX(), 1);
    EXPECT_EQ(c.maxX(), 4);
    EXPECT_EQ(c.minY(), -3);
    EXPECT_EQ(c.maxY(), 10);

    // Replacing the point that held the maximum: recomputed bounds drop it, kept ones do not.
    CPointsCollection kept = c;
    c.addPoint(1, 5, true);
    EXPECT_EQ(c.maxY(), 5);
    kept.addPoint(1, 5, false);
    EXPECT_EQ(kept.maxY(), 10);

    c.clear();
    EXPECT_EQ(c.minX(), 0);
    EXPECT_EQ(c.maxX(), 0);
    EXPECT_EQ(c.minY(), 0);
    EXPECT_EQ(c.maxY(), 0);
}

TEST(PointsCollection, InsertAtPosition)
{
    CPointsCollection unsorted(false);
    unsorted.addPoint(0, 0);
    unsorted.addPoint(1, 1);
    EXPECT_EQ(unsorted.insertPoint(1, 5, 50, false), 1);
    EXPECT_EQ(unsorted.at(1), (GraphPoint{5, 50}));
    EXPECT_EQ(unsorted.maxY(), 1); // not widened without a recomputation
    EXPECT_EQ(unsorted.insertPoint(0, -1, -10, true), 0);
    EXPECT_EQ(unsorted.minY(), -10);
    EXPECT_EQ(unsorted.maxY(), 50);
    EXPECT_EQ(unsorted.insertPoint(4, 9, 9), 4); // at the end: added by the rules
    EXPECT_EQ(unsorted.insertPoint(9, 9, 9), -1);
    EXPECT_EQ(unsorted.insertPoint(-1, 9, 9), -1);
    EXPECT_EQ(unsorted.count(), 5);

    CPointsCollection sorted;
    sorted.addPoint(1, 0);
    sorted.addPoint(3, 0);
    EXPECT_EQ(sorted.insertPoint(0, 2, 0), 1); // a sorted collection ignores the position
    EXPECT_EQ(sorted.at(1).x, 2);
}

TEST(PointsCollection, RemoveAndEdit)
{
    CPointsCollection c;
    for (int i = 0; i < 4; ++i)
        c.addPoint(i, i * 10);
    EXPECT_TRUE(c.removePoint(3));
    EXPECT_EQ(c.maxY(), 20);
    EXPECT_FALSE(c.removePoint(3));
    EXPECT_TRUE(c.setPointY(0, -5));
    EXPECT_EQ(c.minY(), -5);
    EXPECT_FALSE(c.setPointY(-1, 0));
}

// The pyramid answers range queries like a scan, through appends, inserts and removals.
TEST(PointsCollection, PyramidMatchesAScanAfterEveryKindOfChange)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-100, 100);
    CPointsCollection c(false);
    auto check = [&](const char* step) {
        const auto& pts = c.points();
        const CMinMaxPyramid& pyramid = c.pyramid();
        std::uniform_int_distribution<std::size_t> index(0, pts.size() - 1);
        for (int q = 0; q < 200; ++q) {
            std::size_t a = index(random), b = index(random);
            if (a > b)
                std::swap(a, b);
            ++b;
            std::size_t lo = a, hi = a;
            for (std::size_t i = a; i < b; ++i) {
                if (pts[i].y < pts[lo].y)
                    lo = i;
                if (pts[i].y > pts[hi].y)
                    hi = i;
            }
            const YExtremes e = pyramid.query(pts, a, b);
            ASSERT_EQ(e.minIndex, lo) << step << " " << a << ".." << b;
            ASSERT_EQ(e.maxIndex, hi) << step << " " << a << ".." << b;
            ASSERT_EQ(e.minY, pts[lo].y);
            ASSERT_EQ(e.maxY, pts[hi].y);
        }
    };
    for (int i = 0; i < 1000; ++i)
        c.addPoint(i, value(random));
    check("built");
    for (int i = 0; i < 300; ++i)
        c.addPoint(1000 + i, value(random));
    check("appended");
    c.insertPoint(37, -1, 1000);
    check("inserted");
    c.removePoint(500);
    c.setPointY(900, -1000);
    check("removed and edited");
    for (int i = 0; i < 1000; ++i)
        c.removePoint(0);
    check("shrunk");
    // Ties resolve to the first point.
    CPointsCollection flat;
    for (int i = 0; i < 100; ++i)
        flat.addPoint(i, 1);
    const YExtremes e = flat.pyramid().query(flat.points(), 3, 90);
    EXPECT_EQ(e.minIndex, 3u);
    EXPECT_EQ(e.maxIndex, 3u);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A point with a coordinate that is not finite is kept, but the bounds are those of the others.
TEST(PointsCollection, PointsThatAreNotFiniteTakeNoPartInTheBounds)
{
    struct Case {
        const char* name;
        std::vector<GraphPoint> input;
        bool hasBounds;
        double minX, maxX, minY, maxY;
    };
    const Case cases[] = {
        {"NaN first", {{0, kNaN}, {1, 5}, {2, 7}}, true, 1, 2, 5, 7},
        {"infinities", {{1, 5}, {2, kInf}, {kInf, 3}, {-kInf, 0}, {3, -kInf}}, true, 1, 1, 5, 5},
        {"NaN x", {{kNaN, 1}, {4, 2}}, true, 4, 4, 2, 2},
        {"nothing finite", {{0, kNaN}, {kInf, 1}}, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        for (bool recompute : {false, true}) {
            CPointsCollection points(false);
            for (const GraphPoint& p : c.input)
                points.addPoint(p.x, p.y);
            if (recompute)
                points.recomputeBounds();
            EXPECT_EQ(points.count(), static_cast<int>(c.input.size())) << c.name;
            EXPECT_EQ(points.hasBounds(), c.hasBounds) << c.name;
            EXPECT_EQ(points.minX(), c.minX) << c.name;
            EXPECT_EQ(points.maxX(), c.maxX) << c.name;
            EXPECT_EQ(points.minY(), c.minY) << c.name;
            EXPECT_EQ(points.maxY(), c.maxY) << c.name;
        }
    }
}

// Infinities sort at the ends; an x that is not a number goes after everything, so the rest
// stays in ascending order whatever comes later.
TEST(PointsCollection, SortedCollectionKeepsOrderAroundNonFiniteX)
{
    CPointsCollection c;
    for (double x : {3.0, kNaN, 1.0, kInf, 2.0, -kInf, kNaN, 2.5})
        c.addPoint(x, 0);
    std::vector<double> xs;
    for (const GraphPoint& p : c.points())
        xs.push_back(p.x);
    ASSERT_EQ(xs.size(), 8u);
    EXPECT_EQ(std::vector<double>(xs.begin(), xs.begin() + 6),
              (std::vector<double>{-kInf, 1, 2, 2.5, 3, kInf}));
    EXPECT_TRUE(std::isnan(xs[6]) && std::isnan(xs[7]));
}

TEST(PointsCollection, PyramidExtremesSkipPointsThatAreNotFinite)
{
    CPointsCollection c(false);
    for (int i = 0; i < 100; ++i)
        c.addPoint(i, i % 10 == 3 ? kInf : (i % 10 == 4 ? -kInf : (i % 10 == 5 ? kNaN : i)));
    const YExtremes e = c.pyramid().query(c.points(), 3, 96);
    EXPECT_EQ(e.minY, 6);
    EXPECT_EQ(e.maxY, 92);
    const YExtremes none = c.pyramid().query(c.points(), 3, 6);
    EXPECT_TRUE(std::isnan(none.minY) && std::isnan(none.maxY));
}


// Over indexed values, both forms of the query (each ragged end read in one call, or point by
// point) find what a scan finds, indices included, over ties, -0 beside 0, infinities and NaN.
TEST(PointsCollection, PyramidRunsAnswerAsPointByPoint)
{
    std::mt19937 random(11);
    std::uniform_int_distribution<int> kind(0, 9);
    std::vector<double> ys;
    for (int i = 0; i < 1500; ++i) {
        const int k = kind(random);
        ys.push_back(k == 0 ? kNaN : k == 1 ? kInf : k == 2 ? -kInf : k == 3 ? -0.0 : k % 3);
    }
    const CVectorValues values(ys);
    CMinMaxPyramid pyramid(CMinMaxPyramid::kIndexedBlock);
    pyramid.build(values);
    auto perPoint = [&](std::size_t i) { return std::isfinite(ys[i]) ? ys[i] : kNaN; };
    auto runs = [&](std::size_t a, std::size_t b) { return values.extremes(a, b - a); };
    auto same = [](double u, double v) { return std::isnan(u) ? std::isnan(v) : u == v; };
    std::uniform_int_distribution<std::size_t> index(0, ys.size() - 1);
    for (int q = 0; q < 3000; ++q) {
        std::size_t a = index(random), b = index(random);
        if (q % 3 == 0) // within one block, or from and to a block's edge
            b = a + q % 130;
        if (q % 5 == 0)
            a -= a % CMinMaxPyramid::kIndexedBlock;
        if (a > b)
            std::swap(a, b);
        b = std::min(b + 1, ys.size());
        const YExtremes expected = foldExtremes(a, b, perPoint);
        for (const YExtremes& e : {pyramid.query(a, b, runs), pyramid.query(a, b, perPoint)}) {
            ASSERT_EQ(e.minIndex, expected.minIndex) << a << ".." << b;
            ASSERT_EQ(e.maxIndex, expected.maxIndex) << a << ".." << b;
            ASSERT_TRUE(same(e.minY, expected.minY) && same(e.maxY, expected.maxY))
                << a << ".." << b;
        }
    }
}

} // namespace
