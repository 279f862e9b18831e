#include "chart/ToolTipText.h"

#include "core/CText.h"
#include "core/Channels.h"

int toolTipRow(double x, const CAxisDescription& xAxis)
{
    return ctext::toInt(xAxis.format(x, 1));
}

std::string plotToolTipText(const std::function<std::string(int column)>& cell,
                            const std::vector<std::uint8_t>& visibility, const Unit& unit)
{
    static const char* const kLabels[kChannelCount] = {
        "SoW: ", "Azi: ", "Pres: ", "Temp: ", "Hum: ", "Ain4: ", "U: ",
        "V: ",   "W: ",   "U-V: ",  "Ele: ",  "SoS: ", "Sonic: "};
    constexpr int kAin4 = 5;
    std::string text = "Time: " + cell(0) + "\n\n";
    for (int k = 0; k < kChannelCount; ++k) {
        if (k >= static_cast<int>(visibility.size()) || !visibility[static_cast<std::size_t>(k)])
            continue;
        text += kLabels[k] + cell(k + 1) + " ";
        if (k == kAin4)
            text += "\n";
        else
            text += channelUnitText(k, unit) + "\n";
    }
    return text;
}
