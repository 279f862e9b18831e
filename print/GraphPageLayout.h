#pragma once
// The printed graph page: a fixed drawing in page units 2970 wide (the graph page's area of
// 2970 x 2100, with h = 2100 x 1.2 = 2520), the title, the graph from (148, h/8) to (2821, h)
// and the legend of the 13 channels below it, reaching y = 4060. The whole drawing is scaled
// to the printable page with its proportions kept, so that everything lands on the one page,
// and centred across it. All results are device units.

#include <array>

#include "core/Channels.h"
#include "print/ListPageLayout.h"

struct PrintPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PrintPoint&) const = default;
};

struct GraphPageLayout {
    double scale = 1; // device units per page unit
    PrintPoint title; // top-left of the title text
    int titleFontHeight = 0;
    PrintRect graph;
    int graphFontHeight = 0;
    PrintPoint legend; // "Legend :"
    int legendFontHeight = 0;
    int channelFontHeight = 0;
    std::array<PrintPoint, kChannelCount> channelName{};
    std::array<PrintRect, kChannelCount> channelBox{};
};

// The page units the drawing spans.
inline constexpr int kGraphPageWidth = 2970;
inline constexpr int kGraphPageDrawingHeight = 4100;

GraphPageLayout graphPageLayout(int pageWidth, int pageHeight);
