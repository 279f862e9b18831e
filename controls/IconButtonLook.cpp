#include "controls/IconButtonLook.h"

namespace iconbutton {

Look lookFor(const State& state, bool hasOutIcon)
{
    Look look;
    if (state.disabled) {
        look.outIcon = hasOutIcon;
        look.greyed = true;
        return look;
    }
    if (state.pressed) {
        look.frame = Frame::Sunken;
        look.offset = 1;
    } else if (state.hover) {
        look.frame = Frame::Raised;
    }
    look.outIcon = hasOutIcon && !state.hover && !state.pressed;
    return look;
}

Place iconPlace(int width, int height, int w, int h, const Look& look)
{
    return {(width - w) / 2 + look.offset, (height - h) / 2 + look.offset};
}

} // namespace iconbutton
