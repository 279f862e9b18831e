#include "viewers/CopyTable.h"

#include <cstring>

namespace {

constexpr int kCopiedFields = 13; // columns 1 to 13 after the date-time

template <typename CellText>
std::string tableText(const CDataTable& rows, std::string_view separator, CellText cell)
{
    // Two passes: the size first, so that a million rows fill one buffer without regrowth.
    std::size_t size = 0;
    const std::size_t count = rows.rowCount();
    for (std::size_t row = 0; row < count; ++row) {
        size += rows.dateTime(row).size() + 2 + kCopiedFields * separator.size();
        for (int column = 0; column < kCopiedFields; ++column)
            size += cell(row, column).size();
    }
    std::string text;
    text.resize(size);
    char* out = text.data();
    auto put = [&out](std::string_view part) {
        if (part.empty())
            return; // an empty cell may have no data pointer at all
        std::memcpy(out, part.data(), part.size());
        out += part.size();
    };
    for (std::size_t row = 0; row < count; ++row) {
        put(rows.dateTime(row));
        for (int column = 0; column < kCopiedFields; ++column) {
            put(separator);
            put(cell(row, column));
        }
        put("\r\n");
    }
    return text;
}

} // namespace

std::string recordTableText(const CDataTable& rows)
{
    return tableText(rows, "", [&rows](std::size_t row, int column) {
        return displayField(rows.field(row, column));
    });
}

std::string logTableText(const CDataTable& rows)
{
    return tableText(rows, "\t",
                     [&rows](std::size_t row, int column) { return rows.field(row, column); });
}
