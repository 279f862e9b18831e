#include "chart/PlotMath.h"

#include <algorithm>
#include <cmath>

CAxisMap CAxisMap::make(int startPixel, int endPixel, double startValue, double endValue)
{
    CAxisMap map;
    map.startPixel = startPixel;
    map.endPixel = endPixel;
    map.startValue = startValue;
    map.endValue = endValue;
    map.valuePerPixel =
        endPixel == startPixel ? 0 : (endValue - startValue) / (endPixel - startPixel);
    return map;
}

double CAxisMap::toValue(double pixel) const
{
    if (startPixel == endPixel)
        return startValue;
    return startValue + (pixel - startPixel) * valuePerPixel;
}

void widenEqualEnds(double& from, double& to)
{
    if (from != to)
        return;
    const double value = from;
    const double half = std::fabs(value) * 0.1;
    from = value - half;
    to = value + half;
    if (!(from < to)) { // zero, or too small to widen by a tenth
        from = value - 1;
        to = value + 1;
    }
}

PlotRanges zoomResetRanges(double minX, double maxX, double minY, double maxY)
{
    PlotRanges ranges{minX, maxX, minY, maxY};
    widenEqualEnds(ranges.xFrom, ranges.xTo);
    widenEqualEnds(ranges.yFrom, ranges.yTo);
    return ranges;
}

PlotRanges panRanges(const PlotRanges& ranges, const CAxisMap& x, const CAxisMap& y, int fromX,
                     int fromY, int toX, int toY)
{
    const double dx = x.toValue(fromX) - x.toValue(toX);
    const double dy = y.toValue(fromY) - y.toValue(toY);
    return {ranges.xFrom + dx, ranges.xTo + dx, ranges.yFrom + dy, ranges.yTo + dy};
}

PlotRanges zoomRanges(const CAxisMap& x, const CAxisMap& y, int left, int top, int right,
                      int bottom)
{
    return {x.toValue(left), x.toValue(right), y.toValue(bottom), y.toValue(top)};
}

namespace {

bool extendAxis(double& from, double& to, double value)
{
    const double lo = std::min(from, to), hi = std::max(from, to);
    if (!(value < lo || value > hi)) // inside, or not a number
        return false;
    if (std::fabs(value - from) <= std::fabs(value - to))
        from = value;
    else
        to = value;
    return true;
}

} // namespace

bool extendRangesFor(PlotRanges& ranges, double x, double y)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return false;
    const bool movedX = extendAxis(ranges.xFrom, ranges.xTo, x);
    const bool movedY = extendAxis(ranges.yFrom, ranges.yTo, y);
    return movedX || movedY;
}
