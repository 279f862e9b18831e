#pragma once
// The texts of the statistics strip below the overview table: the current period so far and
// the period ended last, each with its time span, sample count, mean speed with the speed
// unit, vector-mean direction and gust. Texts are Windows-1252 (the degree sign is 0xB0).

#include <string>

#include "stats/WindStatistics.h"

struct StatsStripRow {
    std::string period;    // "12:10-12:20 so far"
    std::string samples;   // "600" or "600 (3 marked)"
    std::string mean;      // "3.42 m/s"
    std::string direction; // "245\xB0", "calm"
    std::string gust;
    bool operator==(const StatsStripRow&) const = default;
};

struct StatsStripTexts {
    std::string title; // "Wind, 10 min periods"
    StatsStripRow current;
    StatsStripRow last;
    bool operator==(const StatsStripTexts&) const = default;
};

// A figure that has no value shows as this.
inline constexpr const char* kStripNoValue = "---";

StatsStripTexts statsStripTexts(const CWindStatistics& statistics, const std::string& speedUnit);
