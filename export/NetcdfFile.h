#pragma once
// A NetCDF-4 file written with the NetCDF C library. The object keeps the first failure and
// ignores every call after it, so a writer defines and writes in sequence and checks once.
// Variables along the first (unlimited) dimension are chunked along it, shuffled and deflated.
// The library builds the file in memory (compressed, about a fifth of a record file's size)
// and close() writes it out: HDF5, under the library, cannot close a file after a failed write
// to disk (it crashes), so no disk write of ours goes through it.

#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

class CNetcdfFile {
public:
    // NetCDF's external types (nc_type), so that callers need not include its header.
    enum Type { Char = 2, Int = 4, Float = 5, Double = 6 };
    static constexpr int kGlobal = -1; // the file itself, for attributes

    explicit CNetcdfFile(std::size_t chunkRows) : chunkRows_(chunkRows) {}
    ~CNetcdfFile();
    CNetcdfFile(const CNetcdfFile&) = delete;
    CNetcdfFile& operator=(const CNetcdfFile&) = delete;

    // Begins a file; name is what the library calls it.
    void create(const std::string& name);

    // A dimension; length 0 makes it unlimited. Returns its id (-1 after a failure).
    int dimension(const char* name, std::size_t length);
    // A variable over the given dimensions (none for a scalar). Returns its id.
    int variable(const char* name, Type type, std::initializer_list<int> dimensions);
    void text(int variable, const char* name, std::string_view value);
    void number(int variable, const char* name, Type type, double value);
    void endDefinitions();

    // Writes rows [row, row + rows) of a variable whose rows hold `width` values each; values
    // are of the variable's type. A scalar or a whole array is written with row 0, rows 1.
    void write(int variable, std::size_t row, std::size_t rows, std::size_t width,
               const void* values);

    // Completes the file and writes it to out: 0 when everything was written, else nonzero
    // (see failureText()).
    int close(std::FILE* out);

    bool failed() const { return status_ != 0; }
    // Why the first failure happened: the system's reason when it had one (a full disk).
    std::string failureText() const;

private:
    // Records the status of a library call; false once anything failed.
    bool check(int status);

    std::size_t chunkRows_;
    int id_ = -1;
    int status_ = 0;
    int systemError_ = 0;
};
