#include "controls/LedCell.h"

namespace led {

std::optional<Rect> stripCell(int colour, int state, int shape)
{
    const long long y = static_cast<long long>(colour) + shape;
    if (state < 0 || state >= kStripWidth / kCell || y < 0 || y + kCell > kStripHeight)
        return std::nullopt;
    return Rect{state * kCell, static_cast<int>(y), kCell, kCell};
}

Rect target(int clientWidth, int clientHeight)
{
    if (clientWidth > 15 && clientHeight > 15)
        return {(clientWidth - kCell) / 2, (clientHeight - kCell) / 2, kCell, kCell};
    return {0, 0, kCell, kCell};
}

} // namespace led
