#pragma once
// The sample rows of a record or log file, stored compactly: the texts of all rows back to back
// in one byte buffer plus a few offsets per row, or, for a record file read in place, a
// CRecordStore over the file's bytes. Field texts are cut on demand, in constant time whatever
// the number of blocks, and come back exactly as they stand in the file. Record rows hold one
// data text whose 13th field runs to the end of the line; log rows hold one data line per
// instrument block, 13 fields of 8 characters each.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "files/DataItem.h"
#include "files/DataText.h"

class CRecordStore;

class CDataTable {
public:
    enum class Layout { Record, Log };

    // Empties the table and sets how its rows are cut. Record tables have one block; log tables
    // at most kMaxBlocks.
    void reset(Layout layout, int blockCount = 1);

    // Room for about this many text bytes, so that reading a file seldom moves the buffer. The
    // size is a hint: it is capped, and the buffer grows as needed. May throw std::bad_alloc.
    void reserveBytes(std::size_t bytes);

    // Sets the number of blocks of a log table whose rows hold at most that many data lines so
    // far (the first record of a file read in one pass).
    void setBlockCount(int blockCount);

    // Empties the table and gives its memory back.
    void release();

    // Makes the table a record table whose rows are those of the store (it takes no rows added).
    void adoptStore(std::shared_ptr<CRecordStore> store);
    // The store the rows are read from; null for rows held in the table.
    const CRecordStore* store() const { return store_.get(); }
    // True once the store's file was found cut shorter while read (CRecordStore::damaged()).
    bool damaged() const;
    CRecordStore* store() { return store_.get(); }
    std::shared_ptr<const CRecordStore> sharedStore() const { return store_; }

    // Starts a new row with its date-time text (at most 65535 characters are kept).
    void addRow(std::string_view dateTime);

    // Adds the next data line to the last row. Lines beyond the table's blocks are dropped, and
    // log lines keep only the 104 characters that hold fields. A row holds at most 4 GiB of
    // text; a line that would pass that is dropped too.
    void addDataLine(std::string_view dataLine);

    Layout layout() const { return layout_; }
    std::size_t rowCount() const { return store_ ? storeRowCount() : rowStart_.size() - 1; }
    int blockCount() const { return blockCount_; }
    int columnCount() const { return blockCount_ * kFieldsPerBlock; }

    std::string_view dateTime(std::size_t row) const;

    // Field text of a 0-based column; empty when the row has no such text.
    std::string_view field(std::size_t row, int column) const;

    // The field as a number: -999 for a marker, otherwise C strtod semantics.
    double value(std::size_t row, int column) const;

    // The row as a CDataItem with columnCount() fields.
    CDataItem item(std::size_t row) const;

    // Bytes held by the table, for memory accounting.
    std::size_t memoryBytes() const;

    static constexpr int kFieldsPerBlock = 13;
    // The most blocks a log table has: every row stays within 4 GiB of text, and every column
    // number within an int.
    static constexpr int kMaxBlocks = 40'000'000;

private:
    std::string_view segment(std::size_t row, std::size_t index) const;
    std::size_t storeRowCount() const;

    Layout layout_ = Layout::Record;
    int blockCount_ = 1;
    std::vector<char> bytes_;
    // Row r occupies bytes_[rowStart_[r], rowStart_[r + 1]): its date-time, then its data lines.
    std::vector<std::uint64_t> rowStart_{0};
    // Where the data lines of row r start, counted from the row's start:
    // segmentStart_[firstSegment_[r] ... firstSegment_[r + 1]). Each segment ends where the next
    // one starts, the last at the end of the row.
    std::vector<std::uint32_t> firstSegment_{0};
    std::vector<std::uint32_t> segmentStart_;
    std::shared_ptr<CRecordStore> store_;
};
