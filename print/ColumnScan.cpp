#include "print/ColumnScan.h"

bool CColumnScan::add(std::string_view cell)
{
    if (stopped_)
        return false;
    if (cell.find("COMMENTS") != std::string_view::npos) {
        stopped_ = true;
        return false;
    }
    if (static_cast<int>(cell.size()) > longest_)
        longest_ = static_cast<int>(cell.size());
    return true;
}
