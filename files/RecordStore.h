#pragma once
// The rows of a record file read in place. The file's bytes stay in a CMappedFile (a mapping of
// a snapshot of the file); the store keeps where each row starts, how long it is and where its
// "#" stands, 6 bytes a row, and the field values of the columns asked for in exact compact
// columns (CValueColumn), about 2 bytes a value; the values of the other columns are read from
// the text when asked for, or their columns added later. Rows are cut as readRecordFile()
// describes: pieces of at most 255 characters, trailing white space trimmed, empty ones
// skipped. A large file is read in parts that start after a line feed, each by a thread of its
// own.

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
    // Sets of value columns: bit k stands for column k.
    using Columns = std::uint16_t;
    static constexpr Columns kAllColumns = (1u << kColumns) - 1;

    // The bytes to read: a file (0 or the errno of the failure), or bytes in memory.
    int open(const std::string& path) { return file_.open(path); }
    void assign(std::string_view bytes) { file_.assign(bytes); }
    const CMappedFile& file() const { return file_; }

    // Cuts the bytes into rows, with the values of the given columns (all or none for build()).
    // 0, ENOMEM when memory runs out, ECANCELED when control asked to stop, kTooManyRows beyond
    // the rows the file's size allows (files/FileLimits.h), EIO when the file was cut shorter or
    // could not be read meanwhile; the store holds no rows after a failure.
    int buildColumns(Columns columns, CLoadControl* control = nullptr);
    int build(bool values, CLoadControl* control = nullptr)
    {
        return buildColumns(values ? kAllColumns : 0, control);
    }
    // Adds the columns of the set that it lacks, from the same rows: 0, ENOMEM when they do not
    // fit in the memory available, EIO when the file was cut shorter or could not be read. The
    // columns held before stay either way.
    int addColumns(Columns columns);

    std::size_t rowCount() const { return rowCount_; }
    // The row's text, trailing white space trimmed, and its parts before and after the first
    // "#" (the whole text is the data text of a row without "#").
    std::string_view text(std::size_t row) const;
    std::string_view dateTime(std::size_t row) const;
    std::string_view dataText(std::size_t row) const;
    // Both at once.
    void cut(std::size_t row, std::string_view& dateTime, std::string_view& dataText) const;

    // True when the store was built to serve values (its graph reads them in place).
    bool hasValues() const { return columns_ != 0; }
    // The columns held as values.
    Columns columns() const { return columns_; }
    // Field `column` (0 to 12) of a row as fieldValue() reads it: from its column, or from the
    // text when the store holds no such column.
    double value(std::size_t row, int column) const;
    // The values of a column for rows [first, first + count) into out.
    void values(int column, std::size_t first, std::size_t count, double* out) const;
    // The extremes of those values (count > 0), as CValueColumn::extremes() finds them.
    CValueColumn::Extremes extremes(int column, std::size_t first, std::size_t count) const;

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

    // One pass over each part on the worker threads: indexing it (with the columns given) or,
    // with index false, parsing the given columns of the rows it has. The parts' errors are
    // combined as build() reports them.
    int runParts(Columns columns, bool index, CLoadControl* control);
    void indexPart(Part& part, Columns columns, CLoadControl* control) const;
    void parsePart(Part& part, Columns columns) const;
    const Part& partOf(std::size_t& row) const;
    Row row(std::size_t index) const;
    static bool has(Columns set, int column) { return (set >> column & 1u) != 0; }

    CMappedFile file_;
    std::vector<Part> parts_;
    std::size_t rowCount_ = 0;
    Columns columns_ = 0;
};

// One stretch of the file with its rows: starts counted from the stretch's start (4 bytes each,
// 8 for a stretch beyond 4 GiB), lengths and "#" positions, and the value columns (one for
// every column, empty where the store holds none).
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
    std::size_t start(std::size_t row) const
    {
        return wideStarts.empty() ? starts[row] : wideStarts[row];
    }
};
