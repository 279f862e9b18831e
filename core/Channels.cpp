#include "core/Channels.h"

#include <array>

namespace {

struct Channel {
    const char* name;
    const char* logName;
    std::optional<Unit::Index> unit;
};

const std::array<Channel, kChannelCount> kChannels = {{
    {"SoW", "SoW", Unit::SoW},
    {"Azimuth", "Azimuth", Unit::Azimuth},
    {"Pressure", "Ain1", Unit::Pressure},
    {"Temperature", "Ain2", Unit::Temperature},
    {"Humidity", "Ain3", Unit::Humidity},
    {"Ain4", "Ain4", std::nullopt},
    {"U", "U", Unit::U},
    {"V", "V", Unit::V},
    {"W", "W", Unit::W},
    {"U-V", "vv_UV", Unit::UV},
    {"Elevation", "Elevation", Unit::Elevation},
    {"SoS", "SoS", Unit::SoS},
    {"T.Sonic", "T.Sonic", Unit::Temperature},
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
