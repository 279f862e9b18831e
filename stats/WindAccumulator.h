#pragma once
// The wind statistics of one averaging period, gathered sample by sample in constant time and
// memory:
// - scalar mean, minimum and maximum of the speed;
// - the vector mean: the mean of the wind vectors (speed times the unit vector of the
//   direction), given as its length and the direction it points from, so that 350 and 10
//   degrees average to 0, not 180;
// - the standard deviation of the direction by Yamartino's method, from the unit vectors of
//   the samples that have a direction (calm samples, speed 0, have none);
// - the gust: the highest mean speed over three consecutive clock seconds that each hold at
//   least one sample. A window counts once its last second is over; samples that do not cover
//   three such seconds give no gust;
// - the means of temperature and pressure.
// A figure without the samples it needs has no value.

#include <cstdint>
#include <limits>
#include <optional>

#include "stats/WindSample.h"

struct WindFigures {
    std::int64_t start = 0; // period start, seconds of the local clock
    std::int64_t end = 0;   // period end (the next period's start)
    long long samples = 0;  // every sample of the period
    long long marked = 0;   // samples without a speed or without a direction
    std::optional<double> meanSpeed;
    std::optional<double> minSpeed;
    std::optional<double> maxSpeed;
    std::optional<double> vectorSpeed;
    std::optional<double> vectorDirection; // 0 <= d < 360; none when the vectors cancel out
    std::optional<double> directionSd;     // degrees
    std::optional<double> gust;
    std::optional<double> meanTemperature;
    std::optional<double> meanPressure;
};

class CWindAccumulator {
public:
    CWindAccumulator(std::int64_t start = 0, std::int64_t end = 0) : start_(start), end_(end) {}

    void add(const WindSample& sample);

    // Ends the second of the last sample: its gust window counts from now on. Called when the
    // period is over; a sample added after it in the same second is not counted in a gust.
    void closeSecond();

    WindFigures figures() const;

    std::int64_t start() const { return start_; }
    std::int64_t end() const { return end_; }
    long long sampleCount() const { return samples_; }

private:
    struct SecondBin {
        std::int64_t second = 0;
        double sum = 0;
        long long count = 0; // 0: no such second
    };

    void addGustSpeed(std::int64_t second, double speed);
    void closeBin();

    std::int64_t start_;
    std::int64_t end_;
    long long samples_ = 0;
    long long marked_ = 0;

    long long speedCount_ = 0;
    double speedSum_ = 0;
    double speedMin_ = std::numeric_limits<double>::infinity();
    double speedMax_ = -std::numeric_limits<double>::infinity();

    long long vectorCount_ = 0;
    double sumU_ = 0; // speed * sin(direction)
    double sumV_ = 0; // speed * cos(direction)
    double sumAbsSpeed_ = 0;

    long long directionCount_ = 0;
    double sumSin_ = 0;
    double sumCos_ = 0;

    // The open second and the two before it (when they were consecutive).
    SecondBin open_;
    bool openClosed_ = false;
    SecondBin previous1_;
    SecondBin previous2_;
    std::optional<double> gust_;

    long long temperatureCount_ = 0;
    double temperatureSum_ = 0;
    long long pressureCount_ = 0;
    double pressureSum_ = 0;
};
