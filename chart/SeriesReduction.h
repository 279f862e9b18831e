#pragma once
// What a series draws, in device pixels. The plain path maps every point and keeps each one
// whose pixel differs from the previous; lines join consecutive entries and marks stand on
// every entry. The reduced path gives the same picture at a cost that follows pixels: for each
// pixel column it keeps only the first, lowest, highest and last point (in their order), found
// with binary searches on x and the collection's min/max pyramid. Both skip points that are not
// finite, as if they were not there. Paths hold exact pixel positions however far off; their
// segments are clipped to the plot before they become integer lines.

#include <vector>

#include "chart/PlotMath.h"
#include "chart/PointsCollection.h"

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// A point of a path: its pixel (fractions dropped) as CAxisMap::pixelAt gives it.
struct PathPoint {
    double x = 0;
    double y = 0;
    bool operator==(const PathPoint&) const = default;
    // The pixel as ints, far-off positions kept within +-kPixelLimit.
    PixelPoint pixel() const;
};

struct PixelLine {
    PixelPoint from;
    PixelPoint to;
    bool operator==(const PixelLine&) const = default;
};

// Every finite point, consecutive duplicates of a pixel dropped.
void distinctPixelPath(const CPointsCollection& points, const CAxisMap& x, const CAxisMap& y,
                       std::vector<PathPoint>& out);

// True when the reduced path applies: a sorted collection and an x mapping that grows.
bool canReduce(const CPointsCollection& points, const CAxisMap& x);

// The reduced path for the pixel columns left..right, including the nearest point on either
// side so that lines entering and leaving the view are kept. Needs canReduce().
void reducedPixelPath(const CPointsCollection& points, const CAxisMap& x, const CAxisMap& y,
                      int left, int right, std::vector<PathPoint>& out);

// The lines joining consecutive points of a path, clipped in floating point to the rectangle
// left..right, top..bottom grown by kClipMargin on every side, then rounded to pixels: a line to
// a far-off point keeps its slope. Lines wholly outside are dropped; lines within keep their
// exact ends.
void clipPathLines(const std::vector<PathPoint>& path, int left, int top, int right, int bottom,
                   std::vector<PixelLine>& out);
inline constexpr double kClipMargin = 1024;

// Mark centres for the columns left..right and the rows top..bottom: enough of the distinct
// pixels to paint exactly what marks on every distinct pixel paint. Within a column, a run of
// pixels closer together than a mark (2 * halfSize + 1) is given by its two ends, and points
// whose marks would only repaint rows already painted are skipped. Needs canReduce().
void reducedMarkPixels(const CPointsCollection& points, const CAxisMap& x, const CAxisMap& y,
                       int left, int right, int top, int bottom, int halfSize,
                       std::vector<PixelPoint>& out);

// What those marks paint, as runs of rows top..bottom (within the visible rows) of the marks
// centred in one column; the marks reach halfSize columns to either side of it.
struct MarkRun {
    int column = 0;
    int top = 0;
    int bottom = 0;
    bool operator==(const MarkRun&) const = default;
};
void reducedMarkRuns(const CPointsCollection& points, const CAxisMap& x, const CAxisMap& y,
                     int left, int right, int top, int bottom, int halfSize,
                     std::vector<MarkRun>& out);
