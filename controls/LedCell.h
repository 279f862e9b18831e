#pragma once
// Geometry of the LED picture strip: 48 x 128 pixels cut into 16 x 16 cells, three states
// (columns) by eight colour/shape rows. Which cell a LED setting shows, and where the 16 x 16
// picture goes inside a control of a given size.

#include <optional>

namespace led {

inline constexpr int kCell = 16;
inline constexpr int kStripWidth = 48;
inline constexpr int kStripHeight = 128;

// States (strip columns).
inline constexpr int kLit = 0;
inline constexpr int kDark = 1;
inline constexpr int kGrey = 2;

// Colour offsets and shape offsets (strip rows are (colour + shape) / 16).
inline constexpr int kRed = 0;
inline constexpr int kGreen = 16;
inline constexpr int kYellow = 32;
inline constexpr int kBlue = 48;
inline constexpr int kRound = 0;
inline constexpr int kSquare = 64;

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// Source rectangle in the strip (x = state * 16, y = colour + shape), or nothing when that
// cell does not lie wholly inside the strip; such a setting draws nothing.
std::optional<Rect> stripCell(int colour, int state, int shape);

// Where the 16 x 16 picture goes in a client area: centred when the area is wider and higher
// than 15 pixels, otherwise at its top-left corner (and clipped by it).
Rect target(int clientWidth, int clientHeight);

} // namespace led
