#pragma once
// The printed width of one table column: the longest of its title and cell texts, in
// characters, plus one, times the width of "X" in the body font. The scan of the cells ends at
// the first cell that holds "COMMENTS" (free text that would widen the column to the page).

#include <string_view>

class CColumnScan {
public:
    explicit CColumnScan(std::string_view title) : longest_(static_cast<int>(title.size())) {}

    // Takes the next cell of the column, from the first row down. Returns false, without taking
    // the cell, once a cell holds "COMMENTS"; later cells need not be offered.
    bool add(std::string_view cell);

    int longest() const { return longest_; }
    bool stopped() const { return stopped_; }

    // Width in device units; a column that is not shown on screen (width 0) prints 0 wide.
    int printWidth(int xWidth, bool shownOnScreen) const
    {
        return shownOnScreen ? (longest_ + 1) * xWidth : 0;
    }

private:
    int longest_;
    bool stopped_ = false;
};
