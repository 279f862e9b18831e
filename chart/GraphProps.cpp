#include "chart/GraphProps.h"

CGraphProps::CGraphProps(std::uint32_t colour, std::string title, bool sorted,
                         bool duplicatesAllowed)
    : colour_(colour & 0xFFFFFFu), title_(std::move(title)), points_(sorted, duplicatesAllowed)
{
}
