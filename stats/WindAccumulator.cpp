#include "stats/WindAccumulator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Degrees in 0 <= d < 360.
double normalisedDegrees(double degrees)
{
    degrees = std::fmod(degrees, 360.0);
    if (degrees < 0)
        degrees += 360.0;
    return degrees >= 360.0 ? degrees - 360.0 : degrees;
}

} // namespace

void CWindAccumulator::add(const WindSample& sample)
{
    ++samples_;
    if (!sample.speed || !sample.direction)
        ++marked_;
    if (sample.speed) {
        const double speed = *sample.speed;
        ++speedCount_;
        speedSum_ += speed;
        speedMin_ = std::min(speedMin_, speed);
        speedMax_ = std::max(speedMax_, speed);
        addGustSpeed(static_cast<std::int64_t>(std::floor(sample.time)), speed);
        if (sample.direction) {
            const double angle = *sample.direction * kRadiansPerDegree;
            const double s = std::sin(angle), c = std::cos(angle);
            ++vectorCount_;
            sumU_ += speed * s;
            sumV_ += speed * c;
            sumAbsSpeed_ += std::fabs(speed);
            if (speed > 0) {
                ++directionCount_;
                sumSin_ += s;
                sumCos_ += c;
            }
        }
    }
    if (sample.temperature) {
        ++temperatureCount_;
        temperatureSum_ += *sample.temperature;
    }
    if (sample.pressure) {
        ++pressureCount_;
        pressureSum_ += *sample.pressure;
    }
}

void CWindAccumulator::addGustSpeed(std::int64_t second, double speed)
{
    if (open_.count > 0 && second == open_.second && !openClosed_) {
        open_.sum += speed;
        ++open_.count;
        return;
    }
    if (open_.count > 0) {
        closeBin();
        if (second == open_.second + 1) {
            previous2_ = previous1_;
            previous1_ = open_;
        } else {
            // A gap in time (or time running back): no window spans it.
            previous1_ = previous2_ = SecondBin();
        }
    }
    open_ = {second, speed, 1};
    openClosed_ = false;
}

void CWindAccumulator::closeBin()
{
    if (openClosed_ || open_.count == 0)
        return;
    openClosed_ = true;
    if (previous1_.count == 0 || previous2_.count == 0 || previous1_.second != open_.second - 1 ||
        previous2_.second != open_.second - 2)
        return;
    const double mean = (previous2_.sum + previous1_.sum + open_.sum) /
                        static_cast<double>(previous2_.count + previous1_.count + open_.count);
    if (!gust_ || mean > *gust_)
        gust_ = mean;
}

void CWindAccumulator::closeSecond() { closeBin(); }

WindFigures CWindAccumulator::figures() const
{
    WindFigures f;
    f.start = start_;
    f.end = end_;
    f.samples = samples_;
    f.marked = marked_;
    if (speedCount_ > 0) {
        f.meanSpeed = speedSum_ / static_cast<double>(speedCount_);
        f.minSpeed = speedMin_;
        f.maxSpeed = speedMax_;
    }
    if (vectorCount_ > 0) {
        const double n = static_cast<double>(vectorCount_);
        const double length = std::hypot(sumU_, sumV_);
        f.vectorSpeed = length / n;
        // Calm, or vectors that cancel out (up to rounding), point nowhere.
        if (length > 1e-9 * sumAbsSpeed_)
            f.vectorDirection = normalisedDegrees(std::atan2(sumU_, sumV_) / kRadiansPerDegree);
    }
    if (directionCount_ > 0) {
        const double n = static_cast<double>(directionCount_);
        const double sa = sumSin_ / n, ca = sumCos_ / n;
        const double epsilon = std::sqrt(std::max(0.0, 1.0 - (sa * sa + ca * ca)));
        const double sigma = std::asin(std::min(1.0, epsilon)) *
                             (1.0 + (2.0 / std::sqrt(3.0) - 1.0) * epsilon * epsilon * epsilon);
        f.directionSd = sigma / kRadiansPerDegree;
    }
    f.gust = gust_;
    if (temperatureCount_ > 0)
        f.meanTemperature = temperatureSum_ / static_cast<double>(temperatureCount_);
    if (pressureCount_ > 0)
        f.meanPressure = pressureSum_ / static_cast<double>(pressureCount_);
    return f;
}
