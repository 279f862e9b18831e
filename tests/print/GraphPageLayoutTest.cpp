// The graph page's fixed drawing, scaled onto printable areas of every shape.
#include <gtest/gtest.h>

#include <cmath>

#include "print/GraphPageLayout.h"

namespace {

bool inside(const PrintRect& r, int width, int height)
{
    return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height &&
           r.left < r.right && r.top < r.bottom;
}

TEST(GraphPageLayout, TitleGraphAndAllLegendRowsLandOnThePageInProportion)
{
    struct Case {
        const char* name;
        int width, height;
    } cases[] = {
        {"A4 portrait, 300 dpi", 2408, 3425},
        {"A4 landscape, 300 dpi", 3425, 2408},
        {"Letter portrait, 1200 dpi", 9960, 12960},
        {"the page area itself", 2970, 2100},
        {"a small label", 300, 200},
    };
    for (const Case& c : cases) {
        const GraphPageLayout page = graphPageLayout(c.width, c.height);
        const double s = page.scale;
        // The drawing fills the page's width or its height, whichever is reached first.
        EXPECT_NEAR(std::min(c.width / 2970.0, c.height / 4100.0), s, 1e-9) << c.name;
        EXPECT_TRUE(inside(page.graph, c.width, c.height)) << c.name;
        // Proportions kept: the graph is (2821 - 148) x (2520 - 315) page units at any scale.
        EXPECT_NEAR(page.graph.width() / s, 2821 - 148, 3 / s) << c.name;
        EXPECT_NEAR(page.graph.height() / s, 2520 - 315, 3 / s) << c.name;
        EXPECT_LT(page.title.y + page.titleFontHeight, page.graph.top) << c.name;
        EXPECT_GT(page.legend.y, page.graph.bottom) << c.name;
        // Centred across the page.
        EXPECT_NEAR(page.graph.left + page.graph.right, c.width + (148 + 2821 - 2970) * s, 3)
            << c.name;
        for (std::size_t i = 0; i < kChannelCount; ++i) {
            const PrintRect& box = page.channelBox[i];
            EXPECT_TRUE(inside(box, c.width, c.height)) << c.name << " box " << i;
            EXPECT_LT(page.channelName[i].x, box.left) << c.name;
            // Each name sits beside its own box; boxes never cover one another.
            EXPECT_EQ(page.channelName[i].y, box.top) << c.name;
            if (i + 1 < kChannelCount) {
                EXPECT_LE(box.bottom, page.channelBox[i + 1].top) << c.name << " box " << i;
            }
        }
        EXPECT_LE(page.channelName[kChannelCount - 1].y + page.channelFontHeight, c.height)
            << c.name;
    }
}

} // namespace
