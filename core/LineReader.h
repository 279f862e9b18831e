#pragma once
// Reads a text file in pieces the way fgets() does on a text-mode stream: each piece holds at
// most maxChars characters and ends after its line feed when the line ends within that limit,
// so a longer line arrives as several pieces. As on a text-mode stream, CR LF reads as LF.
// Reading is block-buffered, so a file of a million lines costs one pass over its bytes. A read
// error is not taken for the end of the file: next() stops and error() tells why.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// How many bytes of data the next piece takes, where available bytes are at hand (at least
// maxChars + 1 of them unless the file ends sooner). Every piece ends at the latest after a line
// feed, so a piece starts right after each one. The piece is those bytes with a closing CR LF
// read as LF.
std::size_t nextPieceLength(const char* data, std::size_t available, std::size_t maxChars);

class CLineReader {
public:
    explicit CLineReader(std::size_t maxChars);
    ~CLineReader();
    CLineReader(const CLineReader&) = delete;
    CLineReader& operator=(const CLineReader&) = delete;

    // Opens the file for reading; false when it cannot be opened (errno tells why: EISDIR for a
    // folder).
    bool open(const std::string& path);
    // Reads the given bytes (copied) as if they were a file's content: the same pieces, without
    // a file (tests and fuzzing feed readers this way).
    void openText(std::string_view bytes);
    void close();
    bool isOpen() const { return fd_ >= 0 || inMemory_; }

    // The next piece, valid until the next call; false at the end of the file or after a read
    // error.
    bool next(std::string_view& piece);

    // errno of a read that failed (an I/O error on a stick or a share), else 0.
    int error() const { return error_; }

    // Bytes of the file taken by the pieces so far (a CR LF pair counts two).
    std::uint64_t position() const { return position_; }

    // Size of the file opened last: a hint for reserving memory, which a file that is growing
    // or sparse may not match.
    std::size_t fileSize() const { return fileSize_; }

private:
    bool fill();

    std::size_t maxChars_;
    int fd_ = -1;
    bool inMemory_ = false;
    bool endOfFile_ = false;
    int error_ = 0;
    std::uint64_t position_ = 0;
    std::size_t fileSize_ = 0;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::string piece_;
};
