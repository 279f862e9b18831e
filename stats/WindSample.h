#pragma once
// One sample as the wind statistics see it: its time and the four quantities they use. A
// quantity whose field holds a marker, or no text at all, has no value.

#include <cstdint>
#include <optional>
#include <string_view>

// The channels the statistics read, in the order of core/Channels.h.
inline constexpr int kWindSpeedChannel = 0;     // SoW
inline constexpr int kWindDirectionChannel = 1; // Azimuth
inline constexpr int kPressureChannel = 2;
inline constexpr int kTemperatureChannel = 3;

struct WindSample {
    // Seconds of the local clock (CivilTime.h); live samples carry a fraction.
    double time = 0;
    std::optional<double> speed;       // SoW, in the instrument's speed unit
    std::optional<double> direction;   // Azimuth, degrees the wind comes from
    std::optional<double> temperature; // degrees Celsius
    std::optional<double> pressure;    // mbar
};

// The value of one field text: nothing for a marker, a blank or empty field, or a reading that
// is not finite; otherwise the number the field holds.
std::optional<double> windFieldValue(std::string_view field);

// A sample from the field texts of SoW, Azimuth, Temperature and Pressure.
WindSample makeWindSample(double time, std::string_view speed, std::string_view direction,
                          std::string_view temperature, std::string_view pressure);
