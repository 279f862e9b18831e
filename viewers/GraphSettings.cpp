#include "viewers/GraphSettings.h"

namespace {

// Box texts in channel order; the three captioned boxes take theirs from the viewer.
const std::array<const char*, kChannelCount> kBoxTexts = {
    "SoW", "Azimuth", nullptr,   nullptr,     nullptr, "Ain4",   "U",
    "V",   "W",       "Spd U-V", "Elevation", "SoS",   "T.Sonic"};
constexpr int kFirstCaptioned = 2; // Pressure, then Temperature and Humidity

} // namespace

CGraphSettingBoxes graphSettingBoxes(const std::vector<std::uint8_t>& flags,
                                     const GraphCaptions* captions, int seriesCount)
{
    CGraphSettingBoxes boxes;
    for (int k = 0; k < kChannelCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        if (kBoxTexts[i])
            boxes.captions[i] = kBoxTexts[i];
        else if (captions)
            boxes.captions[i] = (*captions)[i - kFirstCaptioned];
        boxes.checked[i] = i < flags.size() && flags[i] != 0;
        boxes.enabled[i] = k < seriesCount;
    }
    return boxes;
}

void applyGraphSettingBoxes(bool accepted, const CGraphSettingBoxes& boxes,
                            std::vector<std::uint8_t>& flags)
{
    if (!accepted)
        return;
    flags.resize(kChannelCount);
    for (std::size_t i = 0; i < flags.size(); ++i)
        flags[i] = boxes.checked[i] ? 1 : 0;
}
