#include "files/DataTable.h"

#include "files/DataText.h"

#include <limits>

#include "core/MemoryLimit.h"
#include "files/RecordStore.h"

namespace {
constexpr std::size_t kMaxStoredLength = std::numeric_limits<std::uint16_t>::max();
constexpr std::uint64_t kMaxRowLength = std::numeric_limits<std::uint32_t>::max();
static_assert(kMaxStoredLength + std::uint64_t{CDataTable::kMaxBlocks} * kDataTextLength <=
              kMaxRowLength);
static_assert(std::uint64_t{CDataTable::kMaxBlocks} * CDataTable::kFieldsPerBlock <=
              std::numeric_limits<int>::max());
} // namespace

void CDataTable::setBlockCount(int blockCount)
{
    if (layout_ == Layout::Log)
        blockCount_ = blockCount < 0 ? 0 : (blockCount > kMaxBlocks ? kMaxBlocks : blockCount);
}

void CDataTable::reset(Layout layout, int blockCount)
{
    layout_ = layout;
    blockCount_ = 1;
    setBlockCount(blockCount);
    store_.reset();
    bytes_.clear();
    rowStart_.assign(1, 0);
    firstSegment_.assign(1, 0);
    segmentStart_.clear();
}

void CDataTable::reserveBytes(std::size_t bytes) { bytes_.reserve(reservationHint(bytes)); }

void CDataTable::release()
{
    const Layout layout = layout_;
    const int blocks = blockCount_;
    *this = CDataTable();
    reset(layout, blocks);
}

bool CDataTable::damaged() const { return store_ && store_->damaged(); }

void CDataTable::adoptStore(std::shared_ptr<CRecordStore> store)
{
    reset(Layout::Record);
    store_ = std::move(store);
}

std::size_t CDataTable::storeRowCount() const { return store_->rowCount(); }

void CDataTable::addRow(std::string_view dateTime)
{
    if (store_)
        return;
    dateTime = dateTime.substr(0, kMaxStoredLength);
    bytes_.insert(bytes_.end(), dateTime.begin(), dateTime.end());
    rowStart_.push_back(bytes_.size());
    firstSegment_.push_back(static_cast<std::uint32_t>(segmentStart_.size()));
}

void CDataTable::addDataLine(std::string_view dataLine)
{
    std::size_t row = rowCount();
    if (row == 0 || store_)
        return;
    --row;
    std::size_t lines = firstSegment_[row + 1] - firstSegment_[row];
    if (lines >= static_cast<std::size_t>(blockCount_))
        return;
    if (layout_ == Layout::Log)
        dataLine = dataLine.substr(0, kDataTextLength);
    const std::uint64_t start = bytes_.size() - rowStart_[row];
    if (start + dataLine.size() > kMaxRowLength || segmentStart_.size() >= kMaxRowLength)
        return;
    segmentStart_.push_back(static_cast<std::uint32_t>(start));
    bytes_.insert(bytes_.end(), dataLine.begin(), dataLine.end());
    rowStart_.back() = bytes_.size();
    firstSegment_.back() = static_cast<std::uint32_t>(segmentStart_.size());
}

// Segment 0 is the date-time, segment i the i-th data line; empty when the row has fewer.
std::string_view CDataTable::segment(std::size_t row, std::size_t index) const
{
    if (row >= rowCount())
        return {};
    const std::size_t first = firstSegment_[row];
    const std::size_t stored = firstSegment_[row + 1] - first;
    if (index > stored)
        return {};
    const std::uint64_t rowStart = rowStart_[row];
    const std::uint64_t begin = index == 0 ? rowStart : rowStart + segmentStart_[first + index - 1];
    const std::uint64_t end =
        index < stored ? rowStart + segmentStart_[first + index] : rowStart_[row + 1];
    return std::string_view(bytes_.data() + begin, end - begin);
}
std::string_view CDataTable::dateTime(std::size_t row) const
{
    return store_ ? store_->dateTime(row) : segment(row, 0);
}

std::string_view CDataTable::field(std::size_t row, int column) const
{
    if (column < 0 || column >= columnCount())
        return {};
    std::size_t block = static_cast<std::size_t>(column / kFieldsPerBlock);
    std::string_view line = store_ ? store_->dataText(row) : segment(row, block + 1);
    if (layout_ == Layout::Record)
        return recordDataField(line, column);
    return dataTextField(line, static_cast<std::size_t>(column % kFieldsPerBlock));
}

double CDataTable::value(std::size_t row, int column) const
{
    // The store's columns hold exactly what fieldValue() reads from the text.
    if (store_ && store_->hasValues())
        return column < 0 || column >= columnCount() ? 0.0 : store_->value(row, column);
    return fieldValue(field(row, column));
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
    return (store_ ? store_->memoryBytes() : 0) + bytes_.capacity() + rowStart_.capacity() * sizeof(std::uint64_t) +
           firstSegment_.capacity() * sizeof(std::uint32_t) +
           segmentStart_.capacity() * sizeof(std::uint32_t);
}
