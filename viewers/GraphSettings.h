#pragma once
// Graph Settings: one check box per channel, started from the graph's visibility flags. The
// Pressure, Temperature and Humidity boxes show the three captions the viewer passes (the
// record viewer passes their channel names, the log viewer none, so they stay empty). Boxes
// beyond the viewer's series are shown disabled: they would change nothing.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Channels.h"

inline constexpr const char* kGraphSettingsCaption = "Graph Settings";
inline constexpr const char* kGraphSettingsHeading = "Select graph to display";

using GraphCaptions = std::array<std::string, 3>;
inline const GraphCaptions kRecordGraphCaptions = {"Pressure", "Temperature", "Humidity"};

struct CGraphSettingBoxes {
    std::array<std::string, kChannelCount> captions;
    std::array<bool, kChannelCount> checked{};
    std::array<bool, kChannelCount> enabled{};
    bool operator==(const CGraphSettingBoxes&) const = default;
};

// The boxes for the flags (missing flags count as off); captions may be null. Boxes from
// seriesCount on are disabled.
CGraphSettingBoxes graphSettingBoxes(const std::vector<std::uint8_t>& flags,
                                     const GraphCaptions* captions, int seriesCount);

// After the dialog: the flags take the boxes' values when it was accepted, else stay.
void applyGraphSettingBoxes(bool accepted, const CGraphSettingBoxes& boxes,
                            std::vector<std::uint8_t>& flags);
