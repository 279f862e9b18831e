#pragma once
// Values of a series kept by their owner in a vector, read through IIndexedValues (runs answered
// by the default IIndexedValues::extremes).

#include <algorithm>
#include <cstddef>
#include <vector>

#include "chart/IndexedValues.h"

class CVectorValues final : public IIndexedValues {
public:
    explicit CVectorValues(std::vector<double> ys) : ys_(std::move(ys)) {}
    std::size_t size() const override { return ys_.size(); }
    void values(std::size_t first, std::size_t count, double* out) const override
    {
        std::copy_n(ys_.begin() + static_cast<std::ptrdiff_t>(first), count, out);
    }

private:
    std::vector<double> ys_;
};
