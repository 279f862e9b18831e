#pragma once
// Where the panes of the coloured status bar lie and which lines make up its size grip. Plain
// integer geometry (x grows right, y grows down), shared by painting and by the tests.

#include <vector>

namespace statusbar {

// Pane styles; the same bit values as the platform's status-bar pane styles.
inline constexpr unsigned kStyleNoBorders = 0x0100;
inline constexpr unsigned kStylePopOut = 0x0200;
inline constexpr unsigned kStyleDisabled = 0x0400;
inline constexpr unsigned kStyleStretch = 0x0800;

inline constexpr int kBorder = 2;    // outer margin of the bar around the panes
inline constexpr int kGap = 2;       // space between two panes
inline constexpr int kPaneFrame = 1; // frame of a pane, drawn inside its rectangle

struct Span {
    int left = 0;
    int width = 0;
    bool operator==(const Span&) const = default;
};

// Horizontal spans of the panes in a bar of barWidth pixels. Each pane is its content width
// plus its frame; the first pane with the stretch style takes whatever room is left (at least
// its content width), and the bar keeps gripWidth pixels free at its right end.
std::vector<Span> layoutPanes(int barWidth, const std::vector<int>& widths,
                              const std::vector<unsigned>& styles, int gripWidth);

enum class GripColour { Highlight, Shadow };

struct GripLine {
    int x1, y1, x2, y2;
    GripColour colour;
    bool operator==(const GripLine&) const = default;
};

// The size grip in the bottom-right corner (right and bottom are the last pixel column and row
// inside the bar): for i = 1..17 a line from (right - i, bottom) to (right, bottom - i), in the
// highlight colour when i mod 4 is 1, left out when it is 2, in the shadow colour otherwise.
std::vector<GripLine> sizeGripLines(int right, int bottom);

inline constexpr int kGripSize = 18;

} // namespace statusbar
