#include "viewers/ViewerColumns.h"

#include "core/Channels.h"

namespace {

constexpr int kSoSChannel = 11;

// Channel of a data column (1 on) within its block.
int channelOf(int column) { return (column - 1) % kChannelCount; }

} // namespace

std::string recordColumnTitle(int column, const Unit& unit)
{
    return column == 0 ? "Date Time" : viewerColumnTitle(column - 1, unit);
}

int recordColumnWidth(int column) { return column == 0 ? 140 : 100; }

int logColumnCount(int blockCount) { return 1 + kChannelCount * blockCount; }

std::string logColumnTitle(int column, const Unit& unit)
{
    if (column == 0)
        return "Date Time";
    if (column <= kChannelCount)
        return viewerColumnTitle(column - 1, unit);
    const int channel = channelOf(column);
    return std::string(channel == kSoSChannel ? kModelName : "") + " (" + logChannelName(channel) +
           ")";
}

int logColumnWidth(int column)
{
    if (column == 0)
        return 150;
    return channelOf(column) == kSoSChannel ? 150 : 80;
}

std::vector<std::string> recordDataTitles(const Unit& unit)
{
    std::vector<std::string> titles;
    for (int column = 1; column < kRecordColumnCount; ++column)
        titles.push_back(recordColumnTitle(column, unit));
    return titles;
}

std::vector<std::string> logDataTitles(int blockCount, const Unit& unit)
{
    std::vector<std::string> titles;
    for (int column = 1; column < logColumnCount(blockCount); ++column)
        titles.push_back(logColumnTitle(column, unit));
    return titles;
}

std::vector<int> initialHeaderBitmaps(int columnCount)
{
    std::vector<int> bitmaps(static_cast<std::size_t>(columnCount < 0 ? 0 : columnCount), -1);
    for (int column = 1; column <= kChannelCount && column < columnCount; ++column)
        bitmaps[static_cast<std::size_t>(column)] = column - 1;
    return bitmaps;
}
