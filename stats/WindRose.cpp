#include "stats/WindRose.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kSectorNames[CWindRose::kSectors] = {"N",  "NNE", "NE", "ENE", "E",  "ESE",
                                                           "SE", "SSE", "S",  "SSW", "SW", "WSW",
                                                           "W",  "WNW", "NW", "NNW"};

std::string edgeText(double edge)
{
    // Edges are halves or whole numbers.
    const auto tenths = static_cast<long>(std::lround(edge * 10));
    return tenths % 10 == 0 ? std::to_string(tenths / 10)
                            : std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

} // namespace

int CWindRose::sectorOf(double direction)
{
    double d = std::fmod(direction + 11.25, 360.0);
    if (d < 0)
        d += 360.0;
    const auto sector = static_cast<int>(d / 22.5);
    return std::clamp(sector, 0, kSectors - 1);
}

int CWindRose::classOf(double speed)
{
    if (!(speed >= kCalmBelow))
        return -1;
    int speedClass = 0;
    while (speedClass + 1 < kClasses &&
           speed >= kClassFrom[static_cast<std::size_t>(speedClass + 1)])
        ++speedClass;
    return speedClass;
}

const char* CWindRose::sectorName(int sector)
{
    return sector >= 0 && sector < kSectors ? kSectorNames[sector] : "";
}

std::string CWindRose::className(int speedClass)
{
    if (speedClass < 0 || speedClass >= kClasses)
        return {};
    const auto i = static_cast<std::size_t>(speedClass);
    if (speedClass + 1 == kClasses)
        return edgeText(kClassFrom[i]) + "+";
    return edgeText(kClassFrom[i]) + "-" + edgeText(kClassFrom[i + 1]);
}

void CWindRose::add(const WindSample& sample)
{
    if (!sample.speed || !sample.direction) {
        ++missing_;
        return;
    }
    ++total_;
    const int speedClass = classOf(*sample.speed);
    if (speedClass < 0) {
        ++calm_;
        return;
    }
    ++counts_[static_cast<std::size_t>(sectorOf(*sample.direction))]
             [static_cast<std::size_t>(speedClass)];
}

long long CWindRose::count(int sector, int speedClass) const
{
    if (sector < 0 || sector >= kSectors || speedClass < 0 || speedClass >= kClasses)
        return 0;
    return counts_[static_cast<std::size_t>(sector)][static_cast<std::size_t>(speedClass)];
}

double CWindRose::share(int sector, int speedClass) const
{
    return total_ == 0
               ? 0.0
               : static_cast<double>(count(sector, speedClass)) / static_cast<double>(total_);
}

double CWindRose::sectorShare(int sector) const
{
    double sum = 0;
    for (int c = 0; c < kClasses; ++c)
        sum += share(sector, c);
    return sum;
}

double CWindRose::calmShare() const
{
    return total_ == 0 ? 0.0 : static_cast<double>(calm_) / static_cast<double>(total_);
}

double CWindRose::largestSectorShare() const
{
    double largest = 0;
    for (int s = 0; s < kSectors; ++s)
        largest = std::max(largest, sectorShare(s));
    return largest;
}
