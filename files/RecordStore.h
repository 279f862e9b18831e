#pragma once
// The rows of a record file read in place. The file's bytes stay in a CMappedFile (a mapping of
// a snapshot of the file); the store keeps where each row starts, how long it is and where its
// "#" stands, 6 bytes a row, and on request the 13 field values of every row in exact compact
// columns (CValueColumn), about 2 bytes a value. Rows are cut as readRecordFile() describes:
// pieces of at most 255 characters, trailing white space trimmed, empty ones skipped. A large
// file is read in parts that start after a line feed, each by a thread of its own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/MappedFile.h"
#include "files/LoadControl.h"
#include "files/ValueColumn.h"

class CRecordStore {
public:
    static constexpr int kColumns = 13;

    // The bytes to read: a file (0 or the errno of the failure), or bytes in memory.
    int open(const std::string& path) { return file_.open(path); }
    void assign(std::string_view bytes) { file_.assign(bytes); }
    const CMappedFile& file() const { return file_; }

    // Cuts the bytes into rows, with the values of every field when values is set. 0, ENOMEM
    // when memory runs out, ECANCELED when control asked to stop, kTooManyRows beyond the rows
    // the file's size allows (files/FileLimits.h), EIO when the file was cut shorter or could
    // not be read meanwhile; the store holds no rows after a failure.
    int build(bool values, CLoadControl* control = nullptr);

    std::size_t rowCount() const { return rowCount_; }
    // The row's text, trailing white space trimmed, and its parts before and after the first
    // "#" (the whole text is the data text of a row without "#").
    std::string_view text(std::size_t row) const;
    std::string_view dateTime(std::size_t row) const;
    std::string_view dataText(std::size_t row) const;
    // Both at once.
    void cut(std::size_t row, std::string_view& dateTime, std::string_view& dataText) const;

    bool hasValues() const { return hasValues_; }
    // Field `column` (0 to 12) of a row as fieldValue() reads it; needs hasValues().
    double value(std::size_t row, int column) const;
    // The values of a column for rows [first, first + count) into out; needs hasValues().
    void values(int column, std::size_t first, std::size_t count, double* out) const;

    // True once a read met the end of a file that was cut shorter (see CMappedFile).
    bool damaged() const { return file_.damaged(); }
    // Memory held besides the file's bytes.
    std::size_t memoryBytes() const;

private:
    struct Part;
    struct Row {
        std::size_t start = 0; // in the file
        std::uint8_t length = 0;
        std::uint8_t hash = 0; // kNoHash when the row has none
    };
    static constexpr std::uint8_t kNoHash = 0xFF;

    static void buildPart(const CMappedFile& file, Part& part, bool values, CLoadControl* control);
    const Part& partOf(std::size_t& row) const;
    Row row(std::size_t index) const;

    CMappedFile file_;
    std::vector<Part> parts_;
    std::size_t rowCount_ = 0;
    bool hasValues_ = false;
};

// One stretch of the file with its rows: starts counted from the stretch's start (4 bytes each,
// 8 for a stretch beyond 4 GiB), lengths and "#" positions, and the value columns.
struct CRecordStore::Part {
    std::size_t begin = 0, end = 0;
    std::size_t firstRow = 0;
    std::vector<std::uint32_t> starts;
    std::vector<std::uint64_t> wideStarts;
    std::vector<std::uint8_t> lengths;
    std::vector<std::uint8_t> hashes;
    std::vector<CValueColumn> columns;
    int error = 0;

    std::size_t rows() const { return lengths.size(); }
};
