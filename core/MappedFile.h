#pragma once
// A read-only snapshot of a file's bytes: the file mapped at the size it had when it was opened,
// so that a file of gigabytes costs address space, not memory. A file that another program cuts
// shorter while it is mapped would raise SIGBUS on a read past its new end; here the pages past
// that end read as zeros instead and the snapshot counts as damaged, so that its owner reports
// the file as unreadable rather than the program dying. Files that are not regular (devices,
// pipes) and files that cannot be guarded are read into memory instead.

#include <cstddef>
#include <string>
#include <string_view>

class CMappedFile {
public:
    CMappedFile() = default;
    ~CMappedFile();
    CMappedFile(const CMappedFile&) = delete;
    CMappedFile& operator=(const CMappedFile&) = delete;

    // Maps the file (or reads it, see above); 0, or the errno of the failure (EISDIR for a
    // folder). An empty file gives no bytes.
    int open(const std::string& path);
    // Holds a copy of these bytes, as if they were a file's (tests, fuzzing).
    void assign(std::string_view bytes);
    void close();

    std::string_view bytes() const { return {data_, size_}; }
    // Copies count bytes from offset on into out: with read calls from the file when it is
    // mapped, otherwise from the copy. A pass over gigabytes through the mapping pays a page
    // fault every few pages, several times what copying them out of the page cache costs. 0, or
    // the errno of a failed read; EIO when the file no longer has those bytes.
    int readAt(std::size_t offset, char* out, std::size_t count) const;
    // Whether the bytes are a mapping of the file rather than a copy.
    bool mapped() const { return slot_ >= 0; }
    // True once a read met pages that the file no longer has (it was cut shorter): those pages
    // read as zeros from then on. Safe from any thread.
    bool damaged() const;

private:
    int readWhole(int fd);

    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t mappedLength_ = 0;
    int slot_ = -1; // the guard slot of a mapping
    int fd_ = -1;   // the mapped file, for readAt()
    std::string copy_;
};
