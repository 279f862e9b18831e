#pragma once
// The mode word of a coloured status-bar pane and the arithmetic that its painting needs:
// which kind of content it shows, how text or a picture is aligned, how a scrolling pane
// advances, and whether the bar must animate. Plain values, so the rules are tested without
// a window.

#include <cstdint>
#include <vector>

namespace panemode {

inline constexpr std::uint32_t kFormatMask = 0x000FFFFF; // text-drawing format flags
inline constexpr std::uint32_t kText = 0x00100000;
inline constexpr std::uint32_t kTextAlt = 0x00200000; // also text mode
inline constexpr std::uint32_t kPicture = 0x00400000;
inline constexpr std::uint32_t kProgress = 0x00800000;
inline constexpr std::uint32_t kScrollHorizontal = 0x01000000;
inline constexpr std::uint32_t kScrollVertical = 0x02000000;
inline constexpr std::uint32_t kAnimatedMask = 0x0F000000; // any of these keeps the timer running
inline constexpr std::uint32_t kContinuous = 0x10000000;
inline constexpr std::uint32_t kStretch = 0x20000000;
inline constexpr std::uint32_t kSmooth = 0x40000000;

// Format flags of the platform's text-drawing call that the panes honour.
inline constexpr std::uint32_t kFormatCenter = 0x1;
inline constexpr std::uint32_t kFormatRight = 0x2;
inline constexpr std::uint32_t kFormatVCenter = 0x4;
inline constexpr std::uint32_t kFormatBottom = 0x8;

enum class Kind { Text, Picture, Progress };
enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };

struct Alignment {
    HAlign horizontal = HAlign::Left;
    VAlign vertical = VAlign::Top;
    bool operator==(const Alignment&) const = default;
};

// Progress wins over picture, picture over text; a word with none of the three is text.
Kind kindOf(std::uint32_t mode);

// Alignment from the format bits; horizontal scrolling clears the horizontal alignment, since
// the offset alone then places the content.
Alignment alignmentOf(std::uint32_t mode);

inline bool animates(std::uint32_t mode) { return (mode & kAnimatedMask) != 0; }

// One paint's step of a scroll offset. A continuous pane runs from 1 up to the content extent
// and starts at 1 again; otherwise the offset runs up to the content extent and then restarts
// at minus the pane extent, so that the content enters again from the far edge.
int nextScrollOffset(int offset, int contentExtent, int paneExtent, bool continuous);

// Start of content placed with the given alignment in a span of paneExtent starting at 0.
int alignedStart(int contentExtent, int paneExtent, bool centre, bool end);

} // namespace panemode

namespace panemode {

// Starts (relative to the pane's start) at which content of contentExtent is drawn along one
// axis of paneExtent while scrolling by offset: the single copy at -offset, or, for a
// continuous pane, copies every contentExtent from -offset until the pane is filled.
std::vector<int> scrollStarts(int offset, int contentExtent, int paneExtent, bool continuous);

} // namespace panemode
