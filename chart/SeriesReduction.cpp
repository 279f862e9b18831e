#include "chart/SeriesReduction.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <type_traits>
#include <utility>

namespace {

// The two ways a collection holds its points, behind the same small interface, so that one
// template serves both. Points that are not finite are not drawn; extremes() skips them.
struct ArrayPoints {
    const std::vector<GraphPoint>& pts;
    std::size_t size() const { return pts.size(); }
    double x(std::size_t i) const { return pts[i].x; }
    double y(std::size_t i) const { return pts[i].y; }
    bool finite(std::size_t i) const { return pts[i].finite(); }
    // The extremes of the drawn points [first, last) as the pyramid finds them.
    YExtremes extremes(const CMinMaxPyramid& pyramid, std::size_t first, std::size_t last) const
    {
        return pyramid.query(pts, first, last);
    }
};

struct IndexedPoints {
    const IIndexedValues& values;
    std::size_t size() const { return values.size(); }
    double x(std::size_t i) const { return static_cast<double>(i); }
    double y(std::size_t i) const { return values.value(i); }
    bool finite(std::size_t i) const { return std::isfinite(y(i)); }
    // The same, the ragged runs at the ends each read by the owner in one call rather than
    // through a virtual call per point.
    YExtremes extremes(const CMinMaxPyramid& pyramid, std::size_t first, std::size_t last) const
    {
        return pyramid.query(first, last, [this](std::size_t a, std::size_t b) {
            return values.extremes(a, b - a);
        });
    }
};

// Runs f with the collection's points seen through one of the two.
template <class F> void withPoints(const CPointsCollection& points, F f)
{
    if (const IIndexedValues* values = points.indexedValues())
        f(IndexedPoints{*values});
    else
        f(ArrayPoints{points.points()});
}

// First index in [lo, hi) for which pred is false, pred being true then false along the range.
template <class Pred> std::size_t partitionPoint(std::size_t lo, std::size_t hi, Pred pred)
{
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (pred(mid))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// First index in [from, to) whose pixel column is above column (columns grow with the index).
// Galloping from the front keeps the probes near each other: the boundary of the next column
// is usually close, and far-apart probes would miss the cache on every step.
template <class Points>
std::size_t gallop(const Points& pts, const CAxisMap& x, std::size_t from, std::size_t to,
                   int column)
{
    std::size_t lo = from, stride = 1; // every index below lo is in column or before
    for (;;) {
        if (lo >= to)
            return to;
        if (x.toPixel(pts.x(lo)) > column)
            return lo;
        const std::size_t next = std::min(to, lo + stride);
        if (next == to || x.toPixel(pts.x(next)) > column) {
            to = next;
            ++lo;
            break;
        }
        lo = next + 1;
        stride *= 2;
    }
    return partitionPoint(lo, to, [&](std::size_t i) { return x.toPixel(pts.x(i)) <= column; });
}

// The same, trying first where the previous column's width of points says the boundary is:
// evenly spaced samples find it in two probes.
template <class Points>
std::size_t firstAfterColumn(const Points& pts, const CAxisMap& x, std::size_t from,
                             std::size_t to, int column, std::size_t hint = 0)
{
    const std::size_t guess = from + hint - 1; // from is one past the column's first point
    if (hint < 2 || guess >= to)
        return gallop(pts, x, from, to, column);
    if (x.toPixel(pts.x(guess)) <= column)
        return gallop(pts, x, guess + 1, to, column);
    // Step back a little before searching from the front.
    for (std::size_t i = guess, steps = 0; i > from && steps < 5; --i, ++steps)
        if (x.toPixel(pts.x(i - 1)) <= column)
            return i;
    return gallop(pts, x, from, guess - 1, column);
}

template <class Point> void push(std::vector<Point>& out, Point p)
{
    if (out.empty() || !(out.back() == p))
        out.push_back(p);
}

// The index range of a sorted collection's points with a finite x: those at -infinity come
// first, those at +infinity and those whose x is not a number last.
template <class Points> std::pair<std::size_t, std::size_t> finiteXRange(const Points& pts)
{
    const std::size_t lo = partitionPoint(0, pts.size(), [&](std::size_t i) {
        return pts.x(i) < -std::numeric_limits<double>::max();
    });
    const std::size_t hi = partitionPoint(lo, pts.size(), [&](std::size_t i) {
        return pts.x(i) <= std::numeric_limits<double>::max();
    });
    return {lo, hi};
}

// The index range within [lo, hi) of points whose columns lie in left..right.
template <class Points>
std::pair<std::size_t, std::size_t> visibleRange(const Points& pts, const CAxisMap& x,
                                                 std::size_t lo, std::size_t hi, int left,
                                                 int right)
{
    const std::size_t first = firstAfterColumn(pts, x, lo, hi, left - 1);
    const std::size_t last = firstAfterColumn(pts, x, first, hi, right);
    return {first, last};
}

template <class Points>
PathPoint pathPoint(const Points& pts, std::size_t i, const CAxisMap& x, const CAxisMap& y)
{
    return {x.pixelAt(pts.x(i)), y.pixelAt(pts.y(i))};
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
    withPoints(points, [&](const auto& pts) {
        for (std::size_t i = 0; i < pts.size(); ++i)
            if (pts.finite(i))
                push(out, pathPoint(pts, i, x, y));
    });
}

bool canReduce(const CPointsCollection& points, const CAxisMap& x)
{
    return points.sorted() && x.increasing();
}

namespace {

template <class Points>
void reducePath(const Points& pts, const CMinMaxPyramid& pyramid, const CAxisMap& x,
                const CAxisMap& y, int left, int right, std::vector<PathPoint>& out)
{
    const auto [lo, hi] = finiteXRange(pts);
    if (lo >= hi)
        return;
    const auto [first, last] = visibleRange(pts, x, lo, hi, left, right);
    auto pixel = [&](std::size_t i) { return pathPoint(pts, i, x, y); };
    // The nearest drawn points on either side, so that lines entering and leaving are kept.
    for (std::size_t i = first; i > lo; --i)
        if (pts.finite(i - 1)) {
            push(out, pixel(i - 1));
            break;
        }
    std::size_t width = 0;
    for (std::size_t g0 = first; g0 < last;) {
        const int column = x.toPixel(pts.x(g0));
        const std::size_t g1 = firstAfterColumn(pts, x, g0 + 1, last, column, width);
        width = g1 - g0;
        // The column's first and last drawn points; a column of skipped points draws nothing.
        std::size_t a = g0, b = g1;
        while (a < g1 && !pts.finite(a))
            ++a;
        while (b > a && !pts.finite(b - 1))
            --b;
        if (a < b) {
            push(out, pixel(a));
            if (b - a > 2) {
                const YExtremes e = pts.extremes(pyramid, a, b);
                push(out, pixel(std::min(e.minIndex, e.maxIndex)));
                push(out, pixel(std::max(e.minIndex, e.maxIndex)));
            }
            push(out, pixel(b - 1));
        }
        g0 = g1;
    }
    for (std::size_t i = last; i < hi; ++i)
        if (pts.finite(i)) {
            push(out, pixel(i));
            break;
        }
}

} // namespace

void reducedPixelPath(const CPointsCollection& points, const CAxisMap& x, const CAxisMap& y,
                      int left, int right, std::vector<PathPoint>& out)
{
    out.clear();
    const CMinMaxPyramid& pyramid = points.pyramid();
    withPoints(points, [&](const auto& pts) { reducePath(pts, pyramid, x, y, left, right, out); });
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

// The rows painted by the marks of one column so far, over first .. last, one bit a row.
class PaintedRows {
public:
    PaintedRows(int first, int last)
        : first_(first), last_(last), bits_((static_cast<std::size_t>(last - first) >> 6) + 2)
    {
    }
    void reset() { std::fill(bits_.begin(), bits_.end(), 0); }
    // True when every row of lo..hi that can be seen is painted already.
    bool covered(int lo, int hi) const
    {
        lo = std::max(lo, first_);
        hi = std::min(hi, last_);
        if (lo > hi)
            return true;
        std::size_t a = static_cast<std::size_t>(lo - first_);
        const std::size_t b = static_cast<std::size_t>(hi - first_) + 1; // one past
        while (a < b) {
            const std::size_t word = a >> 6, bit = a & 63;
            const std::size_t n = std::min<std::size_t>(64 - bit, b - a);
            const std::uint64_t mask = (n == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1)
                                       << bit;
            if ((bits_[word] & mask) != mask)
                return false;
            a += n;
        }
        return true;
    }
    void paint(int lo, int hi)
    {
        lo = std::max(lo, first_);
        hi = std::min(hi, last_);
        if (lo > hi)
            return;
        std::size_t a = static_cast<std::size_t>(lo - first_);
        const std::size_t b = static_cast<std::size_t>(hi - first_) + 1;
        while (a < b) {
            const std::size_t word = a >> 6, bit = a & 63;
            const std::size_t n = std::min<std::size_t>(64 - bit, b - a);
            bits_[word] |= (n == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1) << bit;
            a += n;
        }
    }
    // Calls f(top, bottom) for each run of painted rows within lo..hi, top to bottom.
    template <class F> void runs(int lo, int hi, F f) const
    {
        lo = std::max(lo, first_);
        hi = std::min(hi, last_);
        int runStart = 0;
        bool inRun = false;
        for (int row = lo; row <= hi;) {
            const auto at = static_cast<std::size_t>(row - first_);
            const std::uint64_t word = bits_[at >> 6] >> (at & 63);
            const int left = 64 - static_cast<int>(at & 63); // rows of this word from row on
            if (!inRun && word == 0) {
                row += left; // nothing painted in the rest of the word
                continue;
            }
            // The length of the run of equal bits from row on, within the word.
            const std::uint64_t same = inRun ? ~word : word;
            int length = same == 0 ? left : std::countr_zero(same);
            length = std::min(length, left);
            if (!inRun && length == 0) {
                inRun = true;
                runStart = row;
                continue;
            }
            if (inRun && length == 0) {
                f(runStart, row - 1);
                inRun = false;
                continue;
            }
            row += length;
        }
        if (inRun)
            f(runStart, hi);
    }

private:
    int first_, last_;
    std::vector<std::uint64_t> bits_;
};

template <class Points> struct MarkWalker {
    const Points& pts;
    const CMinMaxPyramid& pyramid;
    const CAxisMap& y;
    int half;
    int top, bottom; // visible rows
    PaintedRows& painted;
    std::vector<PixelPoint>* centres; // the marks that paint something new, when asked for
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
        if (centres)
            push(*centres, {column, row});
        painted.paint(row - half, row + half);
    }
    void point(std::size_t i)
    {
        if (pts.finite(i))
            mark(y.toPixel(pts.y(i)));
    }

    // Marks the node's extremes (points of it, so their marks are drawn in any case); true when
    // rows between them are still bare, so that its other points may matter.
    bool markEnds(int level, std::size_t index)
    {
        const YExtremes& e = pyramid.entry(level, index);
        if (std::isnan(e.minY)) // only points that are not drawn
            return false;
        int lo = y.toPixel(e.minY), hi = y.toPixel(e.maxY);
        if (lo > hi)
            std::swap(lo, hi);
        if (redundant(lo, hi))
            return false;
        mark(lo);
        mark(hi);
        return hi - lo > 2 * half + 1 && !redundant(lo + 1, hi - 1);
    }
    bool stillBare(int level, std::size_t index) const
    {
        const YExtremes& e = pyramid.entry(level, index);
        int lo = y.toPixel(e.minY), hi = y.toPixel(e.maxY);
        if (lo > hi)
            std::swap(lo, hi);
        return !redundant(lo + 1, hi - 1);
    }

    // A node whose ends are marked and whose inside is bare: the ends of both children first,
    // so that each paints what it can before either is searched further.
    void inside(int level, std::size_t index)
    {
        if (level == 0) {
            const std::size_t begin = index * pyramid.block();
            const std::size_t end = std::min(pts.size(), begin + pyramid.block());
            for (std::size_t i = begin; i < end; ++i)
                point(i);
            return;
        }
        const std::size_t first = 2 * index;
        const bool hasSecond = first + 1 < pyramid.levelSize(level - 1);
        const bool bare0 = markEnds(level - 1, first);
        const bool bare1 = hasSecond && markEnds(level - 1, first + 1);
        if (bare0 && stillBare(level - 1, first))
            inside(level - 1, first);
        if (bare1 && stillBare(level - 1, first + 1))
            inside(level - 1, first + 1);
    }

    // Covers [first, last) with whole pyramid nodes where possible.
    void range(std::size_t first, std::size_t last)
    {
        const std::size_t block = pyramid.block();
        std::size_t a = first;
        while (a < last && a % block != 0)
            point(a++);
        std::size_t b = last;
        while (b > a && b % block != 0)
            point(--b);
        struct Node {
            int level;
            std::size_t index;
        };
        Node nodes[128];
        int count = 0;
        std::size_t lo = a / block, hi = b / block;
        for (int level = 0; lo < hi; ++level) {
            if (lo & 1)
                nodes[count++] = {level, lo++};
            if (hi & 1)
                nodes[count++] = {level, --hi};
            lo >>= 1;
            hi >>= 1;
        }
        bool bare[128];
        for (int i = 0; i < count; ++i)
            bare[i] = markEnds(nodes[i].level, nodes[i].index);
        for (int i = 0; i < count; ++i)
            if (bare[i] && stillBare(nodes[i].level, nodes[i].index))
                inside(nodes[i].level, nodes[i].index);
    }
};

// Walks the columns left..right, calling done(column) after each column's marks are painted.
template <class Done>
void walkMarks(const CPointsCollection& points, const CAxisMap& x, const CAxisMap& y, int left,
               int right, int top, int bottom, int halfSize, PaintedRows& painted,
               std::vector<PixelPoint>* centres, Done done)
{
    const CMinMaxPyramid& pyramid = points.pyramid();
    withPoints(points, [&](const auto& pts) {
        const auto [lo, hi] = finiteXRange(pts);
        if (lo >= hi || bottom < top)
            return;
        // Marks of points just outside the columns still reach into them.
        const auto [first, last] = visibleRange(pts, x, lo, hi, left - halfSize, right + halfSize);
        MarkWalker<std::decay_t<decltype(pts)>> walker{pts,    pyramid, y,       halfSize,
                                                       top,    bottom,  painted, centres};
        std::size_t width = 0;
        for (std::size_t g0 = first; g0 < last;) {
            walker.column = x.toPixel(pts.x(g0));
            const std::size_t g1 = firstAfterColumn(pts, x, g0 + 1, last, walker.column, width);
            width = g1 - g0;
            // The pyramid's entries of the column after the next, at every level, are on their
            // way from memory while this column is walked (waiting for them took most of the
            // walk's time).
            for (int level = 0; level < pyramid.levelCount(); ++level) {
                const std::size_t from = (g1 + 2 * width) / pyramid.block() >> level;
                const std::size_t to = std::min(pyramid.levelSize(level),
                                                ((g1 + 3 * width) / pyramid.block() >> level) + 1);
                for (std::size_t e = from; e < to; e += 64 / sizeof(YExtremes))
                    __builtin_prefetch(&pyramid.entry(level, e));
            }
            painted.reset();
            walker.range(g0, g1);
            done(walker.column);
            g0 = g1;
        }
    });
}

} // namespace

void reducedMarkPixels(const CPointsCollection& points, const CAxisMap& x, const CAxisMap& y,
                       int left, int right, int top, int bottom, int halfSize,
                       std::vector<PixelPoint>& out)
{
    out.clear();
    const int half = std::max(halfSize, 0);
    PaintedRows painted(top - half, bottom + half);
    walkMarks(points, x, y, left, right, top, bottom, half, painted, &out, [](int) {});
}

void reducedMarkRuns(const CPointsCollection& points, const CAxisMap& x, const CAxisMap& y,
                     int left, int right, int top, int bottom, int halfSize,
                     std::vector<MarkRun>& out)
{
    out.clear();
    const int half = std::max(halfSize, 0);
    PaintedRows painted(top - half, bottom + half);
    walkMarks(points, x, y, left, right, top, bottom, half, painted, nullptr, [&](int column) {
        painted.runs(top, bottom, [&](int from, int to) { out.push_back({column, from, to}); });
    });
}
