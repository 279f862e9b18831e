#pragma once
// An output file that is replaced only when it is complete. The bytes go to a new file in the
// target's folder, which is renamed over the target when everything was written; a failure
// removes that file and leaves whatever was at the target as it was. A symbolic link at the
// target stays: the file it leads to is the one replaced. Outputs that are not regular files
// (a device, a pipe, a name of an open descriptor such as /dev/stdout) cannot be replaced; they
// are written directly and never removed.

#include <cstdio>
#include <string>

class COutputFile {
public:
    COutputFile() = default;
    ~COutputFile();
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    // Opens target for writing. 0, or the errno of the failure (EISDIR for a folder, EACCES
    // for a file that may not be written).
    int open(const std::string& target);

    std::FILE* stream() const { return stream_; }
    // Where the bytes go: the new file, or the target itself when it is written directly. A
    // writer that opens files by name (a workbook library) writes here, then calls commit().
    const std::string& writePath() const { return direct_ ? target_ : temporary_; }
    bool direct() const { return direct_; }

    // Completes the output: flushes, syncs, closes and renames the new file over the target.
    // 0, or the errno of the failure (the new file is then removed).
    int commit();

    // Gives up: closes the stream and removes the new file. A direct output is left as it is.
    void discard();

private:
    std::FILE* stream_ = nullptr;
    std::string target_;    // the file to replace, symbolic links followed
    std::string temporary_; // the new file beside it
    bool direct_ = false;
};
