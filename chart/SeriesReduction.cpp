#include "chart/SeriesReduction.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// First index in [from, to) whose pixel column is above column (columns grow with the index).
// Galloping from the front keeps the probes near each other: the boundary of the next column
// is usually close, and far-apart probes would miss the cache on every step.
std::size_t gallop(const std::vector<GraphPoint>& points, const CAxisMap& x, std::size_t from,
                   std::size_t to, int column)
{
    std::size_t lo = from, stride = 1; // every index below lo is in column or before
    for (;;) {
        if (lo >= to)
            return to;
        if (x.toPixel(points[lo].x) > column)
            return lo;
        const std::size_t next = std::min(to, lo + stride);
        if (next == to || x.toPixel(points[next].x) > column) {
            to = next;
            ++lo;
            break;
        }
        lo = next + 1;
        stride *= 2;
    }
    auto it = std::upper_bound(points.begin() + static_cast<std::ptrdiff_t>(lo),
                               points.begin() + static_cast<std::ptrdiff_t>(to), column,
                               [&x](int c, const GraphPoint& p) { return c < x.toPixel(p.x); });
    return static_cast<std::size_t>(it - points.begin());
}

// The same, trying first where the previous column's width of points says the boundary is:
// evenly spaced samples find it in two probes.
std::size_t firstAfterColumn(const std::vector<GraphPoint>& points, const CAxisMap& x,
                             std::size_t from, std::size_t to, int column, std::size_t hint = 0)
{
    const std::size_t guess = from + hint - 1; // from is one past the column's first point
    if (hint < 2 || guess >= to)
        return gallop(points, x, from, to, column);
    if (x.toPixel(points[guess].x) <= column)
        return gallop(points, x, guess + 1, to, column);
    // Step back a little before searching from the front.
    for (std::size_t i = guess, steps = 0; i > from && steps < 5; --i, ++steps)
        if (x.toPixel(points[i - 1].x) <= column)
            return i;
    return gallop(points, x, from, guess - 1, column);
}

template <class Point> void push(std::vector<Point>& out, Point p)
{
    if (out.empty() || !(out.back() == p))
        out.push_back(p);
}

// The index range of a sorted collection's points with a finite x: those at -infinity come
// first, those at +infinity and those whose x is not a number last.
std::pair<std::size_t, std::size_t> finiteXRange(const std::vector<GraphPoint>& points)
{
    const auto lo = std::partition_point(points.begin(), points.end(), [](const GraphPoint& p) {
        return p.x < -std::numeric_limits<double>::max();
    });
    const auto hi = std::partition_point(lo, points.end(), [](const GraphPoint& p) {
        return p.x <= std::numeric_limits<double>::max();
    });
    return {static_cast<std::size_t>(lo - points.begin()),
            static_cast<std::size_t>(hi - points.begin())};
}

// The index range within [lo, hi) of points whose columns lie in left..right.
std::pair<std::size_t, std::size_t> visibleRange(const std::vector<GraphPoint>& points,
                                                 const CAxisMap& x, std::size_t lo, std::size_t hi,
                                                 int left, int right)
{
    const std::size_t first = firstAfterColumn(points, x, lo, hi, left - 1);
    const std::size_t last = firstAfterColumn(points, x, first, hi, right);
    return {first, last};
}

PathPoint pathPoint(const GraphPoint& p, const CAxisMap& x, const CAxisMap& y)
{
    return {x.pixelAt(p.x), y.pixelAt(p.y)};
}

} // namespace

PixelPoint PathPoint::pixel() const
{
    return {static_cast<int>(std::clamp(x, -kPixelLimit, kPixelLimit)),
            static_cast<int>(std::clamp(y, -kPixelLimit, kPixelLimit))};
}

void distinctPixelPath(const CPointsCollection& points, const CAxisMap& x, const CAxisMap& y,
                       std::vector<PathPoint>& out)
{
    out.clear();
    for (const GraphPoint& p : points.points())
        if (p.finite())
            push(out, pathPoint(p, x, y));
}

bool canReduce(const CPointsCollection& points, const CAxisMap& x)
{
    return points.sorted() && x.increasing();
}

void reducedPixelPath(const CPointsCollection& points, const CAxisMap& x, const CAxisMap& y,
                      int left, int right, std::vector<PathPoint>& out)
{
    out.clear();
    const auto& pts = points.points();
    const auto [lo, hi] = finiteXRange(pts);
    if (lo >= hi)
        return;
    const auto [first, last] = visibleRange(pts, x, lo, hi, left, right);
    auto pixel = [&](std::size_t i) { return pathPoint(pts[i], x, y); };
    // The nearest drawn points on either side, so that lines entering and leaving are kept.
    for (std::size_t i = first; i > lo; --i)
        if (pts[i - 1].finite()) {
            push(out, pixel(i - 1));
            break;
        }
    const CMinMaxPyramid& pyramid = points.pyramid();
    std::size_t width = 0;
    for (std::size_t g0 = first; g0 < last;) {
        const int column = x.toPixel(pts[g0].x);
        const std::size_t g1 = firstAfterColumn(pts, x, g0 + 1, last, column, width);
        width = g1 - g0;
        // The column's first and last drawn points; a column of skipped points draws nothing.
        std::size_t a = g0, b = g1;
        while (a < g1 && !pts[a].finite())
            ++a;
        while (b > a && !pts[b - 1].finite())
            --b;
        if (a < b) {
            push(out, pixel(a));
            if (b - a > 2) {
                const YExtremes e = pyramid.query(pts, a, b);
                push(out, pixel(std::min(e.minIndex, e.maxIndex)));
                push(out, pixel(std::max(e.minIndex, e.maxIndex)));
            }
            push(out, pixel(b - 1));
        }
        g0 = g1;
    }
    for (std::size_t i = last; i < hi; ++i)
        if (pts[i].finite()) {
            push(out, pixel(i));
            break;
        }
}

namespace {

// Clips the segment a-b to the rectangle (Liang-Barsky); false when nothing of it is inside.
bool clipSegment(PathPoint& a, PathPoint& b, double left, double top, double right, double bottom)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - left, right - a.x, a.y - top, bottom - a.y};
    double t0 = 0, t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    // Ends inside stay exactly where they are.
    const PathPoint from = a;
    if (t1 < 1)
        b = {from.x + t1 * dx, from.y + t1 * dy};
    if (t0 > 0)
        a = {from.x + t0 * dx, from.y + t0 * dy};
    return true;
}

PixelPoint rounded(const PathPoint& p)
{
    return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
}

} // namespace

void clipPathLines(const std::vector<PathPoint>& path, int left, int top, int right, int bottom,
                   std::vector<PixelLine>& out)
{
    out.clear();
    const double l = left - kClipMargin, t = top - kClipMargin;
    const double r = right + kClipMargin, b = bottom + kClipMargin;
    for (std::size_t i = 1; i < path.size(); ++i) {
        PathPoint from = path[i - 1], to = path[i];
        if (clipSegment(from, to, l, t, r, b))
            out.push_back({rounded(from), rounded(to)});
    }
}

namespace {

// The rows painted by the marks of one column so far, over top - half .. bottom + half.
class PaintedRows {
public:
    PaintedRows(int first, int last)
        : first_(first), last_(last), bits_((static_cast<std::size_t>(last - first) >> 6) + 1)
    {
    }
    void reset() { std::fill(bits_.begin(), bits_.end(), 0); }
    // True when every row of lo..hi that can be seen is painted already.
    bool covered(int lo, int hi) const
    {
        lo = std::max(lo, first_);
        hi = std::min(hi, last_);
        bool all = true;
        forWords(lo, hi, [&](std::uint64_t& word, std::uint64_t mask) {
            all = all && (word & mask) == mask;
        });
        return all;
    }
    void paint(int lo, int hi)
    {
        lo = std::max(lo, first_);
        hi = std::min(hi, last_);
        forWords(lo, hi, [](std::uint64_t& word, std::uint64_t mask) { word |= mask; });
    }

private:
    // Calls f(word, mask) for each 64-row word that rows lo..hi touch, mask selecting them.
    template <class F> void forWords(int lo, int hi, F f) const
    {
        if (lo > hi)
            return;
        const auto a = static_cast<std::size_t>(lo - first_),
                   b = static_cast<std::size_t>(hi - first_);
        for (std::size_t w = a >> 6; w <= b >> 6; ++w) {
            const std::size_t from = w == a >> 6 ? a & 63 : 0, to = w == b >> 6 ? b & 63 : 63;
            const std::uint64_t mask =
                (to == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (to + 1)) - 1) &
                ~((std::uint64_t{1} << from) - 1);
            f(bits_[w], mask);
        }
    }

    int first_, last_;
    mutable std::vector<std::uint64_t> bits_;
};

struct MarkWalker {
    const std::vector<GraphPoint>& pts;
    const CMinMaxPyramid& pyramid;
    const CAxisMap& y;
    int half;
    int top, bottom; // visible rows
    PaintedRows& painted;
    std::vector<PixelPoint>& out;
    int column = 0;

    // Nothing of marks centred in lo..hi would show that is not painted already.
    bool redundant(int lo, int hi) const
    {
        return hi + half < top || lo - half > bottom || painted.covered(lo - half, hi + half);
    }
    void mark(int row)
    {
        if (redundant(row, row))
            return;
        push(out, {column, row});
        painted.paint(row - half, row + half);
    }
    void point(std::size_t i)
    {
        if (pts[i].finite())
            mark(y.toPixel(pts[i].y));
    }

    void node(int level, std::size_t index)
    {
        const YExtremes& e = pyramid.entry(level, index);
        if (std::isnan(e.minY)) // only points that are not drawn
            return;
        int lo = y.toPixel(e.minY), hi = y.toPixel(e.maxY);
        if (lo > hi)
            std::swap(lo, hi);
        if (redundant(lo, hi))
            return;
        if (hi - lo <= 2 * half + 1) { // the two ends' marks cover every mark between
            mark(lo);
            mark(hi);
            return;
        }
        if (level == 0) {
            const std::size_t begin = index * CMinMaxPyramid::kBlock;
            const std::size_t end = std::min(pts.size(), begin + CMinMaxPyramid::kBlock);
            for (std::size_t i = begin; i < end; ++i)
                point(i);
            return;
        }
        node(level - 1, 2 * index);
        if (2 * index + 1 < pyramid.levelSize(level - 1))
            node(level - 1, 2 * index + 1);
    }

    // Covers [first, last) with whole pyramid nodes where possible.
    void range(std::size_t first, std::size_t last)
    {
        constexpr std::size_t block = CMinMaxPyramid::kBlock;
        std::size_t a = first;
        while (a < last && a % block != 0)
            point(a++);
        std::size_t b = last;
        while (b > a && b % block != 0)
            point(--b);
        std::size_t lo = a / block, hi = b / block;
        for (int level = 0; lo < hi; ++level) {
            if (lo & 1)
                node(level, lo++);
            if (hi & 1)
                node(level, --hi);
            lo >>= 1;
            hi >>= 1;
        }
    }
};

} // namespace

void reducedMarkPixels(const CPointsCollection& points, const CAxisMap& x, const CAxisMap& y,
                       int left, int right, int top, int bottom, int halfSize,
                       std::vector<PixelPoint>& out)
{
    out.clear();
    const auto& pts = points.points();
    const auto [lo, hi] = finiteXRange(pts);
    if (lo >= hi || bottom < top)
        return;
    halfSize = std::max(halfSize, 0);
    // Marks of points just outside the columns still reach into them.
    const auto [first, last] = visibleRange(pts, x, lo, hi, left - halfSize, right + halfSize);
    const CMinMaxPyramid& pyramid = points.pyramid();
    PaintedRows painted(top - halfSize, bottom + halfSize);
    MarkWalker walker{pts, pyramid, y, halfSize, top, bottom, painted, out};
    std::size_t width = 0;
    for (std::size_t g0 = first; g0 < last;) {
        walker.column = x.toPixel(pts[g0].x);
        const std::size_t g1 = firstAfterColumn(pts, x, g0 + 1, last, walker.column, width);
        width = g1 - g0;
        painted.reset();
        walker.range(g0, g1);
        g0 = g1;
    }
}
