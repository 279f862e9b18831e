#pragma once
// Whether text has the shape of layout, where '9' stands for any digit and every other character
// for itself: "9999/99/99 99:99:99" matches any date-time of a recording line.

#include <cstddef>
#include <string_view>

inline bool hasShape(std::string_view text, std::string_view layout)
{
    if (text.size() != layout.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (layout[i] == '9' ? !digit : text[i] != layout[i])
            return false;
    }
    return true;
}
