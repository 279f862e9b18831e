#pragma once
// Where every output of ours goes: the converter's CSV, workbook, statistics and wind rose, a
// printed PDF file, Save As. One rule for all of them:
// - A regular file, or a name that does not exist yet, is written to a new file beside it that
//   is renamed over it only when complete and synced, with the old file's permission bits
//   (setuid and setgid dropped). A failure removes that new file; the old one stays as it was.
// - Symbolic links are followed: the link stays and the file it leads to is the one replaced.
// - A device, a pipe or an open descriptor (/dev/stdout, /dev/fd/N, /proc/self/fd/N) cannot be
//   replaced: it is written directly, opened without truncating it, and never removed.
// Nothing is deleted that this object did not create. While a program that installed the
// interrupt cleanup (files/InterruptCleanup.h) writes, SIGINT and SIGTERM remove the new file.
//
// Writers that write a stream use stream(). Libraries that create their file by name (a
// workbook, NetCDF) are opened with Writer::ByName: they write writePath(), a file of ours (the
// new file beside the target, or for a direct output a temporary file whose bytes commit()
// copies to it), and close it before commit().

#include <cstdio>
#include <string>

class COutputFile {
public:
    enum class Writer { Stream, ByName };

    COutputFile() = default;
    ~COutputFile();
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;

    // Opens target for writing. 0, or the errno of the failure (EISDIR for a folder, EACCES
    // for a file that may not be written).
    int open(const std::string& target, Writer writer = Writer::Stream);

    // Writer::Stream: where the bytes go.
    std::FILE* stream() const { return stream_; }
    // Writer::ByName: the file the library writes.
    const std::string& writePath() const { return temporary_; }
    // True when the target is written directly (a device, a pipe, a descriptor).
    bool direct() const { return direct_; }

    // Completes the output: flushes and syncs it, then renames the new file over the target
    // (or copies a library's file to a direct output). 0, or the errno of the failure (the new
    // file is then removed).
    int commit();

    // Gives up: closes the output and removes the new file. A direct output is left as it is.
    void discard();

private:
    int openReplacing(bool exists, unsigned mode, Writer writer);
    int openDirect(int descriptor, Writer writer);
    int commitByName();
    void forgetTemporary(bool remove);

    std::FILE* stream_ = nullptr;
    int directFd_ = -1;     // a direct output written by name: copied here by commit()
    std::string target_;    // the file to replace, symbolic links followed
    std::string temporary_; // the new file beside it, or a library's temporary file
    unsigned mode_ = 0;     // permission bits to give the new file; 0 for a new name
    bool direct_ = false;
    bool byName_ = false;
};
