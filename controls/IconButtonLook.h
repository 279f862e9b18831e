#pragma once
// How an icon button looks in each state: the frame (raised while the pointer is over it,
// sunken while pressed, none otherwise or when disabled), which of its two icons it shows (the
// "in" icon while hovered or pressed, else the "out" icon when it has one), the icon's
// 1-pixel offset right and down while pressed, and the greyed icon of a disabled button.

namespace iconbutton {

enum class Frame { None, Raised, Sunken };

struct State {
    bool hover = false;
    bool pressed = false;
    bool disabled = false;
};

struct Look {
    Frame frame = Frame::None;
    bool outIcon = false; // show the "out" icon rather than the "in" one
    int offset = 0;       // pixels right and down
    bool greyed = false;
    bool operator==(const Look&) const = default;
};

Look lookFor(const State& state, bool hasOutIcon);

// Top-left corner of an icon of size w x h centred in a button of size width x height.
struct Place {
    int x = 0;
    int y = 0;
    bool operator==(const Place&) const = default;
};
Place iconPlace(int width, int height, int w, int h, const Look& look);

} // namespace iconbutton
