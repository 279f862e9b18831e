#pragma once
// The log viewer's "CURRENT PLOT" choice: which instrument block the graph shows. The graph
// plots the five columns from the block's first one; choosing another block moves the header
// bitmaps of those five columns to the new block and scrolls the table sideways by 200 pixels
// times the new start column's index (to the left when the new block lies left of the old
// one), after which the new block's first column is brought into view if it is not.

#include <vector>

inline constexpr int kLogPlottedColumns = 5;
inline constexpr int kLogScrollStep = 200;

// Table column of block b's first field (column 0 is the date-time).
int blockStartColumn(int block);

// The signed horizontal scroll (pixels, positive to the right) of a block choice.
int blockChoiceScroll(int oldStartColumn, int newStartColumn);

// Moves the bitmaps of the plotted columns from the old start column to the new one.
void moveBlockBitmaps(std::vector<int>& bitmaps, int oldStartColumn, int newStartColumn);

// The scroll position that shows a column: unchanged while the column lies wholly within the
// view, otherwise the one that puts its left edge at the left of the view.
int scrollToShowColumn(int scroll, int viewWidth, int columnLeft, int columnWidth);
