#include "app/view/OverviewRows.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kBlockSize = std::size_t{1} << 20;
constexpr std::size_t kIndexChunk = 4096;

void putLength(std::string& out, std::size_t length)
{
    while (length >= 0x80) {
        out.push_back(static_cast<char>((length & 0x7F) | 0x80));
        length >>= 7;
    }
    out.push_back(static_cast<char>(length));
}

// Reads one length at pos; false when the bytes end early (never for rows this store wrote).
bool getLength(std::string_view bytes, std::size_t& pos, std::size_t& length)
{
    length = 0;
    for (int shift = 0; pos < bytes.size() && shift < 64; shift += 7) {
        const auto byte = static_cast<unsigned char>(bytes[pos++]);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

// The cells of an encoded row.
std::vector<std::string_view> decode(std::string_view bytes)
{
    std::vector<std::string_view> cells;
    if (bytes.empty())
        return cells;
    const auto count = static_cast<unsigned char>(bytes[0]);
    std::size_t pos = 1;
    for (unsigned i = 0; i < count; ++i) {
        std::size_t length = 0;
        if (!getLength(bytes, pos, length) || length > bytes.size() - pos)
            break;
        cells.push_back(bytes.substr(pos, length));
        pos += length;
    }
    return cells;
}

void encode(std::string& out, const std::vector<std::string_view>& cells)
{
    out.clear();
    out.push_back(static_cast<char>(cells.size()));
    for (std::string_view cell : cells) {
        putLength(out, cell.size());
        out.append(cell);
    }
}

} // namespace

COverviewRows::COverviewRows() = default;
COverviewRows::~COverviewRows() = default;

const COverviewRows::RowRef& COverviewRows::ref(std::size_t row) const
{
    return index_[row / kIndexChunk][row % kIndexChunk];
}

COverviewRows::RowRef& COverviewRows::ref(std::size_t row)
{
    return index_[row / kIndexChunk][row % kIndexChunk];
}

std::string_view COverviewRows::rowBytes(const RowRef& ref) const
{
    return {blocks_[ref.block].bytes.get() + ref.offset, ref.size};
}

COverviewRows::RowRef COverviewRows::place(std::string_view encoded, const RowRef* replacing)
{
    const bool newest = replacing && !blocks_.empty() && replacing->block == blocks_.size() - 1 &&
                        replacing->offset + replacing->size == used_;
    if (newest && replacing->offset + encoded.size() <= blocks_.back().capacity) {
        std::memcpy(blocks_.back().bytes.get() + replacing->offset, encoded.data(), encoded.size());
        used_ = replacing->offset + encoded.size();
        return {replacing->block, replacing->offset, static_cast<std::uint32_t>(encoded.size())};
    }
    if (blocks_.empty() || used_ + encoded.size() > blocks_.back().capacity) {
        const std::size_t capacity = std::max(kBlockSize, encoded.size());
        blocks_.push_back({std::make_unique<char[]>(capacity), capacity});
        used_ = 0;
    }
    std::memcpy(blocks_.back().bytes.get() + used_, encoded.data(), encoded.size());
    const RowRef placed{static_cast<std::uint32_t>(blocks_.size() - 1),
                        static_cast<std::uint32_t>(used_),
                        static_cast<std::uint32_t>(encoded.size())};
    used_ += encoded.size();
    return placed;
}

std::size_t COverviewRows::pushRef(const RowRef& placed)
{
    if (count_ % kIndexChunk == 0 && count_ / kIndexChunk == index_.size())
        index_.push_back(std::make_unique<RowRef[]>(kIndexChunk));
    ref(count_) = placed;
    return count_++;
}

std::size_t COverviewRows::appendRow(std::string_view text)
{
    encode(scratch_, {text});
    return pushRef(place(scratch_, nullptr));
}

std::size_t COverviewRows::appendDataRow(std::string_view time, std::string_view data)
{
    std::vector<std::string_view> cells{time};
    for (std::size_t pos = 0; cells.size() <= kDataFields && data.size() - pos >= kDataFieldWidth;
         pos += kDataFieldWidth)
        cells.push_back(data.substr(pos, kDataFieldWidth));
    encode(scratch_, cells);
    return pushRef(place(scratch_, nullptr));
}

bool COverviewRows::setCell(std::size_t row, int column, std::string_view text)
{
    if (row >= count_ || column < 0 || column >= kMaxColumns ||
        text.size() > std::numeric_limits<std::uint32_t>::max() / 2)
        return false;
    RowRef& current = ref(row);
    std::vector<std::string_view> cells = decode(rowBytes(current));
    if (cells.size() <= static_cast<std::size_t>(column))
        cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)] = text;
    // The cells point into the store, and text may too: encode before anything moves.
    std::string encoded;
    encoded.swap(scratch_);
    encode(encoded, cells);
    const bool fits = encoded.size() <= std::numeric_limits<std::uint32_t>::max();
    if (fits)
        current = place(encoded, &current);
    encoded.swap(scratch_);
    return fits;
}

std::string_view COverviewRows::cellView(std::size_t row, int column) const
{
    if (row >= count_ || column < 0)
        return {};
    const std::string_view bytes = rowBytes(ref(row));
    const auto count = static_cast<unsigned char>(bytes[0]);
    if (column >= count)
        return {};
    std::size_t pos = 1;
    std::size_t length = 0;
    for (int i = 0; i <= column; ++i) {
        if (!getLength(bytes, pos, length) || length > bytes.size() - pos)
            return {};
        if (i == column)
            return bytes.substr(pos, length);
        pos += length;
    }
    return {};
}

std::string COverviewRows::cell(std::size_t row, int column) const
{
    return std::string(cellView(row, column));
}

void COverviewRows::clear()
{
    // Weeks of rows may go at once: give their memory back, not only the rows.
    std::vector<Block>().swap(blocks_);
    std::vector<std::unique_ptr<RowRef[]>>().swap(index_);
    used_ = 0;
    count_ = 0;
}

std::size_t COverviewRows::memoryUsage() const
{
    std::size_t bytes = sizeof(*this) + scratch_.capacity();
    for (const Block& block : blocks_)
        bytes += block.capacity;
    bytes += blocks_.capacity() * sizeof(Block);
    bytes += index_.size() * kIndexChunk * sizeof(RowRef) + index_.capacity() * sizeof(void*);
    return bytes;
}
