#pragma once
// What the protocol engine needs of the main window: the link-state pane of its status bar,
// the wait cursor, and a nudge to refresh the enabled state of its commands.

#include <cstdint>
#include <string_view>

// Pane colours as 0x00BBGGRR.
namespace link_colour {
inline constexpr std::uint32_t kYellow = 0x0000FFFF;
inline constexpr std::uint32_t kYellowDisabled = 0x00000080;
inline constexpr std::uint32_t kGreen = 0x0000FF00;
inline constexpr std::uint32_t kGreenDisabled = 0x00FFFF00;
} // namespace link_colour

class IProtocolFrame {
public:
    virtual ~IProtocolFrame() = default;

    // Shows text in the link-state pane with its background when enabled and when disabled.
    virtual void showLinkState(std::string_view text, std::uint32_t colour,
                               std::uint32_t disabledColour) = 0;

    virtual void setWaitCursor(bool wait) = 0;

    // Autodetect or Disconnect may have changed their enabled state.
    virtual void commandStatesChanged() = 0;
};
