#include "controls/PaneMode.h"

namespace panemode {

Kind kindOf(std::uint32_t mode)
{
    if (mode & kProgress)
        return Kind::Progress;
    if (mode & kPicture)
        return Kind::Picture;
    return Kind::Text;
}

Alignment alignmentOf(std::uint32_t mode)
{
    Alignment alignment;
    if (!(mode & kScrollHorizontal)) {
        if (mode & kFormatCenter)
            alignment.horizontal = HAlign::Center;
        else if (mode & kFormatRight)
            alignment.horizontal = HAlign::Right;
    }
    if (mode & kFormatVCenter)
        alignment.vertical = VAlign::Center;
    else if (mode & kFormatBottom)
        alignment.vertical = VAlign::Bottom;
    return alignment;
}

int nextScrollOffset(int offset, int contentExtent, int paneExtent, bool continuous)
{
    ++offset;
    if (offset > contentExtent)
        offset = continuous ? 1 : -paneExtent;
    return offset;
}

int alignedStart(int contentExtent, int paneExtent, bool centre, bool end)
{
    if (centre)
        return (paneExtent - contentExtent) / 2;
    if (end)
        return paneExtent - contentExtent;
    return 0;
}

} // namespace panemode

namespace panemode {

std::vector<int> scrollStarts(int offset, int contentExtent, int paneExtent, bool continuous)
{
    std::vector<int> starts{-offset};
    if (!continuous || contentExtent <= 0)
        return starts;
    for (int start = -offset + contentExtent; start < paneExtent; start += contentExtent)
        starts.push_back(start);
    return starts;
}

} // namespace panemode
