#pragma once
// Description of one axis: title, unit, precision and the three ready-made formats
//   0 "<number>", 1 "<number> <unit>", 2 "<title>: <number> <unit>",
// rebuilt whenever any part changes. Title and unit are taken as plain text: a '%' in them is
// doubled in the stored format, so user text can never act as a conversion.

#include <array>
#include <string>

class CAxisDescription {
public:
    static constexpr int kDefaultPrecision = 3;
    static constexpr int kMaxPrecision = 20;

    CAxisDescription() { rebuild(); }

    void set(std::string title, std::string unit, int precision);

    const std::string& title() const { return title_; }
    const std::string& unit() const { return unit_; }
    int precision() const { return precision_; }

    // The printf-style format of index 0..2 (empty for any other index).
    std::string formatString(int index) const;

    // The value written with format 0..2; any other index gives an empty text.
    std::string format(double value, int index) const;

private:
    void rebuild();

    std::string title_;
    std::string unit_;
    int precision_ = kDefaultPrecision;
    std::array<std::string, 3> formats_;
};
