#pragma once
// The thirteen channels of the VA7310 in their fixed order, and the titles of the columns that
// show them: column 0 is the time, column k (1..13) the k-th 8-character field of a data text.

#include <cstdint>
#include <optional>
#include <string>

#include "core/Unit.h"

inline constexpr int kChannelCount = 13;
inline constexpr int kOverviewColumnCount = kChannelCount + 1;

// Name of channel k (0-based), such as "SoW" or "T.Sonic".
const char* channelName(int channel);

// Name of channel k in log files ("Ain1", "Ain2", "Ain3", "vv_UV" where they differ).
const char* logChannelName(int channel);

// Colour (0xRRGGBB) of channel k wherever all thirteen are drawn: the record viewer's graph
// series and the printed graph's legend.
std::uint32_t channelColour(int channel);

// Unit slot of channel k, or nothing for Ain4, which has no unit.
std::optional<Unit::Index> channelUnit(int channel);

// Current unit text of channel k (empty for Ain4).
std::string channelUnitText(int channel, const Unit& unit = Unit::instance());

// Title of overview column 0..13: "Time\n..Date", or the channel name, a line feed and its unit.
std::string overviewColumnTitle(int column, const Unit& unit = Unit::instance());

// Title of a viewer column for channel k: the name, a blank and the unit.
std::string viewerColumnTitle(int channel, const Unit& unit = Unit::instance());
