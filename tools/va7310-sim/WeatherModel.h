#pragma once
// Slowly varying weather for the simulated anemometer, and its 104-character data text: thirteen
// right-aligned 8-character fields in channel order (SoW, Azimuth, Pressure, Temperature,
// Humidity, Ain4, U, V, W, U-V, Elevation, SoS, T.Sonic).

#include <random>
#include <string>

struct WeatherSample {
    double speed;       // horizontal wind speed, m/s
    double azimuth;     // direction the wind comes from, degrees 0..360
    double pressure;    // mbar
    double temperature; // degrees Celsius
    double humidity;    // percent
    double ain4;        // analogue input, volts
    double u, v, w;     // wind components, m/s (u east, v north, w up)
    double uv;          // horizontal speed from u and v
    double elevation;   // degrees
    double soundSpeed;  // m/s
    double sonicTemperature;
};

class CWeatherModel {
public:
    static constexpr int kFields = 13;
    static constexpr int kFieldWidth = 8;

    explicit CWeatherModel(unsigned seed);

    // Moves every quantity a small random step.
    void step();
    const WeatherSample& sample() const { return sample_; }

    // The data text; speeds (SoW, U, V, W, U-V, SoS) are multiplied by speedFactor. A value that
    // does not fit its field is shown as "_ofl". markerField 0..12 replaces that field by marker.
    std::string dataText(double speedFactor, int markerField = -1,
                         const std::string& marker = {}) const;

    // Metres per second in the named unit (m/s, km/h, knots, mph, ft/s); 1 for other texts.
    static double speedFactor(const std::string& unit);

private:
    void derive(double w);

    std::mt19937 random_;
    WeatherSample sample_{};
};
