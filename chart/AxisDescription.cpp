#include "chart/AxisDescription.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string escapePercent(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '%')
            out += '%';
    }
    return out;
}

} // namespace

void CAxisDescription::set(std::string title, std::string unit, int precision)
{
    title_ = std::move(title);
    unit_ = std::move(unit);
    // printf takes no negative precision, and beyond 20 digits doubles carry nothing.
    precision_ = std::clamp(precision, 0, kMaxPrecision);
    rebuild();
}

void CAxisDescription::rebuild()
{
    const std::string number = "%0." + std::to_string(precision_) + "f";
    formats_[0] = number;
    formats_[1] = number + " " + escapePercent(unit_);
    formats_[2] = escapePercent(title_) + ": " + number + " " + escapePercent(unit_);
}

std::string CAxisDescription::formatString(int index) const
{
    if (index < 0 || index > 2)
        return {};
    return formats_[static_cast<std::size_t>(index)];
}

std::string CAxisDescription::format(double value, int index) const
{
    if (index < 0 || index > 2)
        return {};
    // The number is written on its own and the plain texts are put around it: the result is
    // what the stored format gives, without ever passing user text to printf.
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%0.*f", precision_, value);
    switch (index) {
    case 0:
        return buffer;
    case 1:
        return std::string(buffer) + " " + unit_;
    default:
        return title_ + ": " + buffer + " " + unit_;
    }
}
