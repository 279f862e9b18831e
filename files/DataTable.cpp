#include "files/DataTable.h"

#include <limits>

namespace {
constexpr std::size_t kMaxStoredLength = std::numeric_limits<std::uint16_t>::max();
}

void CDataTable::reset(Layout layout, int blockCount)
{
    layout_ = layout;
    blockCount_ = layout == Layout::Record ? 1 : (blockCount < 0 ? 0 : blockCount);
    bytes_.clear();
    rowStart_.assign(1, 0);
    firstLength_.assign(1, 0);
    segmentLength_.clear();
    lastSegmentStart_ = 0;
}

void CDataTable::addRow(std::string_view dateTime)
{
    dateTime = dateTime.substr(0, kMaxStoredLength);
    lastSegmentStart_ = bytes_.size();
    bytes_.insert(bytes_.end(), dateTime.begin(), dateTime.end());
    rowStart_.push_back(bytes_.size());
    firstLength_.push_back(static_cast<std::uint32_t>(segmentLength_.size()));
}

void CDataTable::addDataLine(std::string_view dataLine)
{
    std::size_t row = rowCount();
    if (row == 0)
        return;
    --row;
    std::size_t lines = firstLength_[row + 1] - firstLength_[row];
    if (lines >= static_cast<std::size_t>(blockCount_))
        return;
    if (layout_ == Layout::Log)
        dataLine = dataLine.substr(0, kDataTextLength);
    segmentLength_.push_back(static_cast<std::uint16_t>(bytes_.size() - lastSegmentStart_));
    lastSegmentStart_ = bytes_.size();
    bytes_.insert(bytes_.end(), dataLine.begin(), dataLine.end());
    rowStart_.back() = bytes_.size();
    firstLength_.back() = static_cast<std::uint32_t>(segmentLength_.size());
}

// Segment 0 is the date-time, segment i the i-th data line; empty when the row has fewer.
std::string_view CDataTable::segment(std::size_t row, std::size_t index) const
{
    if (row >= rowCount())
        return {};
    std::size_t first = firstLength_[row];
    std::size_t stored = firstLength_[row + 1] - first;
    if (index > stored)
        return {};
    std::size_t offset = rowStart_[row];
    for (std::size_t i = 0; i < index; ++i)
        offset += segmentLength_[first + i];
    std::size_t end = index < stored ? offset + segmentLength_[first + index] : rowStart_[row + 1];
    return std::string_view(bytes_.data() + offset, end - offset);
}

std::string_view CDataTable::dateTime(std::size_t row) const { return segment(row, 0); }

std::string_view CDataTable::field(std::size_t row, int column) const
{
    if (column < 0 || column >= columnCount())
        return {};
    std::size_t block = static_cast<std::size_t>(column / kFieldsPerBlock);
    std::size_t start = static_cast<std::size_t>(column % kFieldsPerBlock) * kFieldWidth;
    std::string_view line = segment(row, block + 1);
    if (start >= line.size())
        return {};
    bool toEnd = layout_ == Layout::Record && column == kFieldsPerBlock - 1;
    return line.substr(start, toEnd ? std::string_view::npos : kFieldWidth);
}

CDataItem CDataTable::item(std::size_t row) const
{
    CDataItem result;
    result.dateTime.assign(dateTime(row));
    result.fields.reserve(static_cast<std::size_t>(columnCount()));
    for (int column = 0; column < columnCount(); ++column)
        result.fields.emplace_back(field(row, column));
    return result;
}

std::size_t CDataTable::memoryBytes() const
{
    return bytes_.capacity() + rowStart_.capacity() * sizeof(std::uint64_t) +
           firstLength_.capacity() * sizeof(std::uint32_t) +
           segmentLength_.capacity() * sizeof(std::uint16_t);
}
