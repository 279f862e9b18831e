#pragma once
// The rows of the overview table, stored compactly for weeks of samples: every row is one
// encoded run of bytes (cell count, then each cell's length and text) in large append-only
// blocks, indexed by a chunked array, so appending never moves earlier rows and a full data
// row (time stamp and thirteen 8-character fields) costs about 150 bytes. Cells are
// Windows-1252 text. Rewriting the newest row (filling its cells one by one) happens in place;
// rewriting an older row moves it to the end of the store.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class COverviewRows {
public:
    static constexpr int kMaxColumns = 255;
    static constexpr int kDataFieldWidth = 8;
    static constexpr int kDataFields = 13;

    COverviewRows();
    ~COverviewRows();
    COverviewRows(const COverviewRows&) = delete;
    COverviewRows& operator=(const COverviewRows&) = delete;

    std::size_t rowCount() const { return count_; }

    // Appends a row whose column 0 holds text; returns its index.
    std::size_t appendRow(std::string_view text);

    // Appends a row with time in column 0 and the data text cut into 8-character fields in
    // columns 1..13; cutting stops at the first remainder shorter than 8 characters, and a
    // remainder after thirteen fields is ignored. Returns the row's index.
    std::size_t appendDataRow(std::string_view time, std::string_view data);

    // Sets one cell; false (and nothing changed) for a row or column out of range.
    bool setCell(std::size_t row, int column, std::string_view text);

    // A cell's text, empty for cells never set and for rows or columns out of range.
    std::string cell(std::size_t row, int column) const;
    // The same without a copy; valid until the next change to the store.
    std::string_view cellView(std::size_t row, int column) const;

    void clear();

    // Bytes the store holds (blocks and index), for the memory budget.
    std::size_t memoryUsage() const;

private:
    struct RowRef {
        std::uint32_t block;
        std::uint32_t offset;
        std::uint32_t size;
    };
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity;
    };

    const RowRef& ref(std::size_t row) const;
    RowRef& ref(std::size_t row);
    std::string_view rowBytes(const RowRef& ref) const;
    RowRef place(std::string_view encoded, const RowRef* replacing);
    std::size_t pushRef(const RowRef& ref);

    std::vector<Block> blocks_;
    std::size_t used_ = 0; // bytes used in the last block
    std::vector<std::unique_ptr<RowRef[]>> index_;
    std::size_t count_ = 0;
    std::string scratch_;
};
