#include "tools/va7310-sim/WeatherModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Keeps a random walk inside [low, high] by reflecting it at the edges.
double reflect(double value, double low, double high)
{
    if (value < low)
        return std::min(high, 2 * low - value);
    if (value > high)
        return std::max(low, 2 * high - value);
    return value;
}

std::string rightAligned(const std::string& text)
{
    return std::string(CWeatherModel::kFieldWidth - std::min<std::size_t>(text.size(), 8), ' ') +
           text.substr(0, CWeatherModel::kFieldWidth);
}

std::string field(const char* format, double value)
{
    char text[64];
    const int length = std::snprintf(text, sizeof text, format, value);
    if (length != CWeatherModel::kFieldWidth)
        return rightAligned("_ofl");
    return text;
}

} // namespace

CWeatherModel::CWeatherModel(unsigned seed) : random_(seed)
{
    sample_.speed = 4.0;
    sample_.azimuth = 225.0;
    sample_.pressure = 1013.2;
    sample_.temperature = 15.0;
    sample_.humidity = 60.0;
    sample_.ain4 = 2.5;
    derive(0.05);
}

void CWeatherModel::step()
{
    std::normal_distribution<double> unit(0.0, 1.0);
    WeatherSample& s = sample_;
    s.speed = reflect(s.speed + 0.3 * unit(random_), 0.0, 30.0);
    s.azimuth = std::fmod(s.azimuth + 4.0 * unit(random_) + 360.0, 360.0);
    s.pressure = reflect(s.pressure + 0.05 * unit(random_), 990.0, 1035.0);
    s.temperature = reflect(s.temperature + 0.05 * unit(random_), -20.0, 40.0);
    s.humidity = reflect(s.humidity + 0.3 * unit(random_), 20.0, 100.0);
    s.ain4 = reflect(s.ain4 + 0.02 * unit(random_), 0.0, 5.0);
    derive(0.15 * unit(random_));
}

void CWeatherModel::derive(double w)
{
    WeatherSample& s = sample_;
    // The azimuth is where the wind comes from, so the air moves the opposite way.
    s.u = -s.speed * std::sin(s.azimuth * kDegree);
    s.v = -s.speed * std::cos(s.azimuth * kDegree);
    s.w = w;
    s.uv = std::hypot(s.u, s.v);
    s.elevation = std::atan2(s.w, s.uv) / kDegree;
    s.soundSpeed = 331.3 * std::sqrt(1.0 + s.temperature / 273.15);
    s.sonicTemperature = s.temperature + 0.0032 * s.humidity * (1.0 + s.temperature / 30.0);
}

std::string CWeatherModel::dataText(double speedFactor, int markerField,
                                    const std::string& marker) const
{
    const WeatherSample& s = sample_;
    const std::string fields[kFields] = {
        field("%8.2f", s.speed * speedFactor),
        field("%8.1f", s.azimuth),
        field("%8.1f", s.pressure),
        field("%8.2f", s.temperature),
        field("%8.1f", s.humidity),
        field("%8.3f", s.ain4),
        field("%8.2f", s.u * speedFactor),
        field("%8.2f", s.v * speedFactor),
        field("%8.2f", s.w * speedFactor),
        field("%8.2f", s.uv * speedFactor),
        field("%8.1f", s.elevation),
        field("%8.2f", s.soundSpeed * speedFactor),
        field("%8.2f", s.sonicTemperature),
    };
    std::string text;
    for (int i = 0; i < kFields; ++i)
        text += i == markerField ? rightAligned(marker) : fields[i];
    return text;
}

double CWeatherModel::speedFactor(const std::string& unit)
{
    if (unit == "km/h")
        return 3.6;
    if (unit == "knots" || unit == "kn")
        return 3600.0 / 1852.0;
    if (unit == "mph")
        return 3600.0 / 1609.344;
    if (unit == "ft/s")
        return 1.0 / 0.3048;
    return 1.0;
}
