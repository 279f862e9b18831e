#include "print/GraphPageLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kH = 2100 * 12 / 10;                 // 2520
constexpr int kLeft = kGraphPageWidth * 5 / 100;   // 148
constexpr int kRight = kGraphPageWidth * 95 / 100; // 2821

} // namespace

GraphPageLayout graphPageLayout(int pageWidth, int pageHeight)
{
    GraphPageLayout page;
    page.scale = std::max(0.0, std::min(static_cast<double>(pageWidth) / kGraphPageWidth,
                                        static_cast<double>(pageHeight) / kGraphPageDrawingHeight));
    const double s = page.scale;
    const int dx = static_cast<int>(std::lround((pageWidth - kGraphPageWidth * s) / 2));
    auto x = [&](int units) { return dx + static_cast<int>(std::lround(units * s)); };
    auto y = [&](int units) { return static_cast<int>(std::lround(units * s)); };
    auto size = [&](int units) { return std::max(1, static_cast<int>(std::lround(units * s))); };

    page.title = {x(kLeft), y(kH / 20)};
    page.titleFontHeight = size(kH / 30);
    page.graph = {x(kLeft), y(kH / 8), x(kRight), y(kH)};
    page.graphFontHeight = size(kH / 45);
    page.legend = {x(kLeft), y(2800)};
    page.legendFontHeight = size(kH / 35);
    page.channelFontHeight = size(kH / 37);
    for (int i = 0; i < kChannelCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        page.channelName[k] = {x(kLeft + 50), y(3000 + 80 * i)};
        // The swatch beside each name, 60 units high with 20 between swatches, so that no
        // swatch covers part of the one above it.
        page.channelBox[k] = {x(1228), y(3000 + 80 * i), x(1528), y(3060 + 80 * i)};
    }
    return page;
}
