#include "controls/StatusBarGeometry.h"

#include <algorithm>

namespace statusbar {

std::vector<Span> layoutPanes(int barWidth, const std::vector<int>& widths,
                              const std::vector<unsigned>& styles, int gripWidth)
{
    const int count = static_cast<int>(widths.size());
    std::vector<Span> spans(widths.size());
    int fixed = 0;
    int stretch = -1;
    for (int i = 0; i < count; ++i) {
        fixed += std::max(0, widths[i]) + 2 * kPaneFrame;
        if (stretch < 0 && i < static_cast<int>(styles.size()) && (styles[i] & kStyleStretch))
            stretch = i;
    }
    const int gaps = count > 1 ? (count - 1) * kGap : 0;
    const int spare = std::max(0, barWidth - 2 * kBorder - gripWidth - gaps - fixed);

    int x = kBorder;
    for (int i = 0; i < count; ++i) {
        int width = std::max(0, widths[i]) + 2 * kPaneFrame;
        if (i == stretch)
            width += spare;
        spans[i] = {x, width};
        x += width + kGap;
    }
    return spans;
}

std::vector<GripLine> sizeGripLines(int right, int bottom)
{
    std::vector<GripLine> lines;
    for (int i = 1; i <= 17; ++i) {
        if (i % 4 == 2)
            continue;
        lines.push_back({right - i, bottom, right, bottom - i,
                         i % 4 == 1 ? GripColour::Highlight : GripColour::Shadow});
    }
    return lines;
}

} // namespace statusbar
