#pragma once
// A wind rose: how often the wind came from each of 16 direction sectors (N, NNE, ... each
// 22.5 degrees wide and centred on its name) in each speed class. Speeds below 0.5 are calm and
// counted apart, having no direction; classes run 0.5-2, 2-4, 4-6, 6-8, 8-10 and from 10 up, in
// the instrument's speed unit. Samples without a speed or a direction are counted as missing.

#include <array>
#include <cstdint>
#include <string>

#include "stats/WindSample.h"

class CWindRose {
public:
    static constexpr int kSectors = 16;
    static constexpr int kClasses = 6;
    static constexpr double kCalmBelow = 0.5;
    // Lower edge of each class.
    static constexpr std::array<double, kClasses> kClassFrom = {0.5, 2, 4, 6, 8, 10};

    void add(const WindSample& sample);
    void clear() { *this = CWindRose(); }

    // Samples with a speed and a direction (calm ones included), calm ones, and the others.
    long long total() const { return total_; }
    long long calm() const { return calm_; }
    long long missing() const { return missing_; }
    long long count(int sector, int speedClass) const;

    // Parts of total() (0..1); 0 while there is no sample.
    double share(int sector, int speedClass) const;
    double sectorShare(int sector) const;
    double calmShare() const;
    // The largest sectorShare().
    double largestSectorShare() const;

    // Sector 0..15 of a direction in degrees (any value: 360 and -360 are north).
    static int sectorOf(double direction);
    // Class 0..5 of a speed, -1 for calm.
    static int classOf(double speed);
    // "N", "NNE", ... "NNW".
    static const char* sectorName(int sector);
    // "0.5-2", ..., "10+".
    static std::string className(int speedClass);

private:
    std::array<std::array<long long, kClasses>, kSectors> counts_{};
    long long total_ = 0;
    long long calm_ = 0;
    long long missing_ = 0;
};
