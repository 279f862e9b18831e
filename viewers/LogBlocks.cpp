#include "viewers/LogBlocks.h"

#include "core/Channels.h"

int blockStartColumn(int block) { return 1 + kChannelCount * block; }

int blockChoiceScroll(int oldStartColumn, int newStartColumn)
{
    const int pixels = kLogScrollStep * newStartColumn;
    return newStartColumn < oldStartColumn ? -pixels : pixels;
}

void moveBlockBitmaps(std::vector<int>& bitmaps, int oldStartColumn, int newStartColumn)
{
    if (oldStartColumn == newStartColumn)
        return;
    const int size = static_cast<int>(bitmaps.size());
    for (int i = 0; i < kLogPlottedColumns; ++i) {
        const int from = oldStartColumn + i, to = newStartColumn + i;
        const int bitmap = from >= 0 && from < size ? bitmaps[static_cast<std::size_t>(from)] : -1;
        if (from >= 0 && from < size)
            bitmaps[static_cast<std::size_t>(from)] = -1;
        if (to >= 0 && to < size)
            bitmaps[static_cast<std::size_t>(to)] = bitmap;
    }
}

int scrollToShowColumn(int scroll, int viewWidth, int columnLeft, int columnWidth)
{
    if (columnLeft >= scroll && columnLeft + columnWidth <= scroll + viewWidth)
        return scroll;
    return columnLeft;
}
