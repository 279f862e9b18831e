#pragma once
// Coordinate mapping between data values and device pixels, and the range arithmetic of zoom,
// pan and zoom reset. Pure functions on small value types, shared by panel, rulers and grid.

#include <algorithm>
#include <cmath>

struct PlotRanges {
    double xFrom = 0;
    double xTo = 10;
    double yFrom = 0;
    double yTo = 10;
    bool operator==(const PlotRanges&) const = default;
};


inline constexpr double kPixelLimit = 1 << 22;
// Pixel positions as doubles stay within this, so that differences of two stay finite.
inline constexpr double kFarPixel = 1e300;

// One axis: pixel at range start and end, range start and end value, value per pixel.
struct CAxisMap {
    int startPixel = 0;
    int endPixel = 0;
    double startValue = 0;
    double endValue = 0;
    double valuePerPixel = 0;

    static CAxisMap make(int startPixel, int endPixel, double startValue, double endValue);

    // Pixel of a value (fractions dropped), however far off: segments to far-off points are
    // clipped with it before drawing, so they keep their slope. Coincident start and end pixels
    // give the start pixel; a range of equal ends puts every value in the middle.
    double pixelAt(double value) const
    {
        if (startPixel == endPixel)
            return startPixel;
        if (valuePerPixel == 0 || !std::isfinite(valuePerPixel))
            return startPixel + (endPixel - startPixel) / 2;
        const double pixel = startPixel + (value - startValue) / valuePerPixel;
        if (pixel != pixel)
            return startPixel;
        return std::trunc(std::clamp(pixel, -kFarPixel, kFarPixel));
    }
    // The same as an int, kept within +-kPixelLimit so far-off points convert safely.
    int toPixel(double value) const
    {
        return static_cast<int>(std::clamp(pixelAt(value), -kPixelLimit, kPixelLimit));
    }
    // Value under a pixel (the start value when the pixels coincide).
    double toValue(double pixel) const;

    // True when the pixel grows with the value (the fast drawing path needs that for x).
    bool increasing() const { return endPixel != startPixel && valuePerPixel > 0; }
};


// Zoom reset: both ranges become the data bounds. An axis whose bounds are equal would have
// zero width; it is widened by 10 % of the value on each side (to -1..1 around 0), so a
// constant series shows as a flat line in the middle.
PlotRanges zoomResetRanges(double minX, double maxX, double minY, double maxY);
void widenEqualEnds(double& from, double& to);

// Panning: shifts all four ends by the data distance between two mouse positions so the plot
// follows the mouse.
PlotRanges panRanges(const PlotRanges& ranges, const CAxisMap& x, const CAxisMap& y, int fromX,
                     int fromY, int toX, int toY);

// Zoom-in: the data values under a pixel rectangle (left, right for x; bottom, top for y).
PlotRanges zoomRanges(const CAxisMap& x, const CAxisMap& y, int left, int top, int right,
                      int bottom);

// A point added outside the view with the extend bit set moves the nearer end of each range
// it lies outside of. Returns true when a range moved; a point that is not finite moves none.
bool extendRangesFor(PlotRanges& ranges, double x, double y);
