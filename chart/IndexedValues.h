#pragma once
// The y values of a series whose point i lies at x = i, read from where their owner keeps them
// (a viewer's value columns) instead of being copied into the series.

#include <cstddef>

#include "chart/MinMaxPyramid.h"

class IIndexedValues {
public:
    virtual ~IIndexedValues() = default;
    virtual std::size_t size() const = 0;
    // The y of the points [first, first + count), which lie within size(), into out.
    virtual void values(std::size_t first, std::size_t count, double* out) const = 0;

    // The extremes of the points [first, first + count), count > 0, as CMinMaxPyramid keeps
    // them; an owner that can find them without reading every value says so here.
    virtual YExtremes extremes(std::size_t first, std::size_t count) const;

    double value(std::size_t index) const
    {
        double y = 0;
        values(index, 1, &y);
        return y;
    }
};
