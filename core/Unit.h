#pragma once
// The process-wide unit texts of the thirteen channels. The six speed units are set together
// from the instrument's identification reply; the others never change. Texts are
// Windows-1252 bytes (the degree sign is 0xB0).

#include <array>
#include <string>
#include <string_view>

class Unit {
public:
    // Positions of the twelve unit texts.
    enum Index {
        SoS = 0,
        Unused = 1,
        Pressure = 2,
        Temperature = 3, // also T.Sonic
        Humidity = 4,
        U = 5,
        V = 6,
        W = 7,
        UV = 8,
        SoW = 9,
        Azimuth = 10,
        Elevation = 11,
        Count = 12
    };

    Unit();
    virtual ~Unit() = default;

    // The one object of the process.
    static Unit& instance();

    const std::string& text(Index index) const { return texts_[index]; }

    // Sets SoW, SoS, U, V, W and U-V to the unit the instrument reported.
    void setSpeedUnit(std::string_view unit);

    // Back to the initial texts (before any identification).
    void reset();

private:
    std::array<std::string, Count> texts_;
};
