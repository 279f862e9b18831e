#include <gtest/gtest.h>

#include "controls/LedCell.h"
#include "controls/PaneMode.h"
#include "controls/StatusBarGeometry.h"

using namespace panemode;

TEST(PaneMode, KindAndAlignmentFromTheModeWord)
{
    struct Row {
        std::uint32_t mode;
        Kind kind;
        Alignment align;
    };
    const Row rows[] = {
        {0x100000, Kind::Text, {HAlign::Left, VAlign::Top}},
        {0x100001, Kind::Text, {HAlign::Center, VAlign::Top}}, // the link-state pane
        {0x200002, Kind::Text, {HAlign::Right, VAlign::Top}},
        {0x100005, Kind::Text, {HAlign::Center, VAlign::Center}},
        {0x10000A, Kind::Text, {HAlign::Right, VAlign::Bottom}},
        {0x1100001, Kind::Text, {HAlign::Left, VAlign::Top}}, // horizontal scroll drops 0x1
        {0x1100006, Kind::Text, {HAlign::Left, VAlign::Center}},
        {0x2100001, Kind::Text, {HAlign::Center, VAlign::Top}}, // vertical scroll keeps it
        {0x400009, Kind::Picture, {HAlign::Center, VAlign::Bottom}},
        {0x800000, Kind::Progress, {}},
        {0x40800000, Kind::Progress, {}},
        {0xC00000, Kind::Progress, {}},
        {0, Kind::Text, {}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(kindOf(row.mode), row.kind) << std::hex << row.mode;
        EXPECT_EQ(alignmentOf(row.mode), row.align) << std::hex << row.mode;
    }
}

TEST(PaneMode, OnlyScrollBitsNeedTheAnimationTimer)
{
    EXPECT_FALSE(animates(0x100001));
    EXPECT_FALSE(animates(kContinuous | kText)); // continuous alone does not move
    EXPECT_FALSE(animates(kStretch | kPicture | kSmooth));
    EXPECT_TRUE(animates(kScrollHorizontal | kText));
    EXPECT_TRUE(animates(kScrollVertical | kPicture));
    EXPECT_TRUE(animates(0x04000000));
}

TEST(PaneMode, ContinuousScrollCyclesFromOneToTheContentWidth)
{
    int offset = 0;
    std::vector<int> seen;
    for (int i = 0; i < 8; ++i) {
        offset = nextScrollOffset(offset, 3, 50, true);
        seen.push_back(offset);
    }
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 1, 2, 3, 1, 2}));
}

TEST(PaneMode, PlainScrollReentersFromTheFarEdge)
{
    int offset = 0;
    std::vector<int> seen;
    for (int i = 0; i < 6; ++i) {
        offset = nextScrollOffset(offset, 2, 10, false);
        seen.push_back(offset);
    }
    // After running past the content width the text starts again just beyond the pane.
    EXPECT_EQ(seen, (std::vector<int>{1, 2, -10, -9, -8, -7}));
}

TEST(PaneMode, ContinuousContentIsRepeatedUntilThePaneIsFull)
{
    EXPECT_EQ(scrollStarts(3, 10, 25, true), (std::vector<int>{-3, 7, 17}));
    EXPECT_EQ(scrollStarts(3, 10, 25, false), (std::vector<int>{-3}));
    EXPECT_EQ(scrollStarts(-25, 10, 25, true), (std::vector<int>{25}));
    // Empty content never loops.
    EXPECT_EQ(scrollStarts(1, 0, 25, true), (std::vector<int>{-1}));
    EXPECT_EQ(alignedStart(10, 30, true, false), 10);
    EXPECT_EQ(alignedStart(10, 30, false, true), 20);
    EXPECT_EQ(alignedStart(40, 30, true, false), -5);
}

TEST(StatusBarGeometry, StretchPaneTakesTheRoomTheOthersLeave)
{
    using namespace statusbar;
    // Ventora's bar: a stretching message pane and the 200-pixel link pane.
    auto spans = layoutPanes(800, {0, 200}, {kStyleStretch, 0}, kGripSize);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].left, kBorder);
    EXPECT_EQ(spans[1].width, 200 + 2 * kPaneFrame);
    EXPECT_EQ(spans[1].left, spans[0].left + spans[0].width + kGap);
    EXPECT_EQ(spans[1].left + spans[1].width, 800 - kBorder - kGripSize);

    // Without a grip the link pane moves to the right edge.
    spans = layoutPanes(800, {0, 200}, {kStyleStretch, 0}, 0);
    EXPECT_EQ(spans[1].left + spans[1].width, 800 - kBorder);

    // Too narrow: nothing becomes negative, panes keep their own widths.
    spans = layoutPanes(50, {10, 200}, {kStyleStretch, 0}, kGripSize);
    EXPECT_EQ(spans[0].width, 10 + 2 * kPaneFrame);
    EXPECT_EQ(spans[1].width, 200 + 2 * kPaneFrame);

    // No stretching pane: the panes pack at the left.
    spans = layoutPanes(800, {30, 40}, {0, 0}, 0);
    EXPECT_EQ(spans[1], (Span{kBorder + 32 + kGap, 42}));
}

TEST(StatusBarGeometry, SizeGripSkipsEveryFourthLineAfterTheHighlight)
{
    const auto lines = statusbar::sizeGripLines(99, 19);
    ASSERT_EQ(lines.size(), 13u); // 17 lines less i = 2, 6, 10, 14
    EXPECT_EQ(lines[0], (statusbar::GripLine{98, 19, 99, 18, statusbar::GripColour::Highlight}));
    EXPECT_EQ(lines[1], (statusbar::GripLine{96, 19, 99, 16, statusbar::GripColour::Shadow}));
    EXPECT_EQ(lines[2], (statusbar::GripLine{95, 19, 99, 15, statusbar::GripColour::Shadow}));
    EXPECT_EQ(lines[3], (statusbar::GripLine{94, 19, 99, 14, statusbar::GripColour::Highlight}));
    EXPECT_EQ(lines.back(), (statusbar::GripLine{82, 19, 99, 2, statusbar::GripColour::Highlight}));
}

TEST(LedCell, CellsOfTheStrip)
{
    struct Row {
        int colour, state, shape;
        std::optional<led::Rect> cell;
    };
    const Row rows[] = {
        {led::kRed, led::kGrey, led::kRound, led::Rect{32, 0, 16, 16}},
        {led::kGreen, led::kLit, led::kRound, led::Rect{0, 16, 16, 16}},
        {led::kYellow, led::kDark, led::kRound, led::Rect{16, 32, 16, 16}},
        {led::kBlue, led::kGrey, led::kSquare, led::Rect{32, 112, 16, 16}},
        {led::kRed, 3, led::kRound, std::nullopt},
        {led::kRed, -1, led::kRound, std::nullopt},
        {led::kBlue, led::kLit, 128, std::nullopt},
        {-16, led::kLit, led::kRound, std::nullopt},
        {0x7FFFFFFF, led::kLit, 0x7FFFFFFF, std::nullopt},
    };
    for (const Row& row : rows)
        EXPECT_EQ(led::stripCell(row.colour, row.state, row.shape), row.cell)
            << row.colour << "/" << row.state << "/" << row.shape;
}

TEST(LedCell, CentredOnlyWhenTheControlHoldsAWholeLed)
{
    EXPECT_EQ(led::target(16, 16), (led::Rect{0, 0, 16, 16}));
    EXPECT_EQ(led::target(30, 20), (led::Rect{7, 2, 16, 16}));
    EXPECT_EQ(led::target(12, 40), (led::Rect{0, 0, 16, 16})); // too narrow: top-left
    EXPECT_EQ(led::target(40, 15), (led::Rect{0, 0, 16, 16})); // too low: top-left
}
