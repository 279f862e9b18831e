#include "app/view/OverviewLayout.h"

#include "core/Channels.h"

namespace {

constexpr int kLedLit = 0;
constexpr int kLedGrey = 2;
constexpr int kTimeWidth = 65;
constexpr int kChannelWidth = 70;

} // namespace

COverviewLayout overviewLayout(int layout, const Unit& unit)
{
    COverviewLayout result;
    if (layout == kLayoutInitial || layout == kLayoutAfterMenu) {
        result.columns = {{overviewColumnTitle(0, unit), ColumnAlign::Left, kTimeWidth, true},
                          {"", ColumnAlign::Left, kChannelWidth, true}};
        result.ledState = kLedGrey;
        result.recIndicator = false;
        result.recording = false;
        result.firstDisplay = layout == kLayoutInitial;
    } else if (layout == kLayoutData) {
        for (int column = 0; column < kOverviewColumnCount; ++column)
            result.columns.push_back({overviewColumnTitle(column, unit), ColumnAlign::Center,
                                      column == 0 ? kTimeWidth : kChannelWidth, true});
        result.ledState = kLedLit;
        result.recIndicator = true;
        result.recording = true;
    }
    return result;
}

COverviewLayout setupMenuLayout()
{
    COverviewLayout result;
    result.columns = {{"Setup", ColumnAlign::Left, 500, false}};
    result.ledState = kLedGrey;
    result.recIndicator = false;
    return result;
}
