#include "tools/record/HeadlessView.h"

#include <limits>

int CHeadlessView::appendRow(std::string_view)
{
    // The count stops short of overflowing: past the first screenful it only has to stay large.
    if (rows_ < std::numeric_limits<int>::max())
        ++rows_;
    return rows_ - 1;
}
