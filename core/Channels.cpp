#include "core/Channels.h"

#include <array>

namespace {

struct Channel {
    const char* name;
    const char* logName;
    std::optional<Unit::Index> unit;
    std::uint32_t colour;
};

const std::array<Channel, kChannelCount> kChannels = {{
    {"SoW", "SoW", Unit::SoW, 0x00FFFF},
    {"Azimuth", "Azimuth", Unit::Azimuth, 0xFF0000},
    {"Pressure", "Ain1", Unit::Pressure, 0x0000FF},
    {"Temperature", "Ain2", Unit::Temperature, 0xFF00FF},
    {"Humidity", "Ain3", Unit::Humidity, 0x008080},
    {"Ain4", "Ain4", std::nullopt, 0x808000},
    {"U", "U", Unit::U, 0x000000},
    {"V", "V", Unit::V, 0x808080},
    {"W", "W", Unit::W, 0x800080},
    {"U-V", "vv_UV", Unit::UV, 0x00FF00},
    {"Elevation", "Elevation", Unit::Elevation, 0xFFFF00},
    {"SoS", "SoS", Unit::SoS, 0x000080},
    {"T.Sonic", "T.Sonic", Unit::Temperature, 0x800000},
}};

} // namespace

const char* channelName(int channel) { return kChannels.at(channel).name; }

const char* logChannelName(int channel) { return kChannels.at(channel).logName; }

std::optional<Unit::Index> channelUnit(int channel) { return kChannels.at(channel).unit; }

std::string channelUnitText(int channel, const Unit& unit)
{
    auto index = channelUnit(channel);
    return index ? unit.text(*index) : std::string();
}

std::string overviewColumnTitle(int column, const Unit& unit)
{
    if (column == 0)
        return "Time\n..Date";
    return std::string(channelName(column - 1)) + "\n" + channelUnitText(column - 1, unit);
}

std::string viewerColumnTitle(int channel, const Unit& unit)
{
    return std::string(channelName(channel)) + " " + channelUnitText(channel, unit);
}

std::uint32_t channelColour(int channel)
{
    return kChannels.at(channel).colour;
}
