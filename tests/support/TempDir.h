#pragma once
// A fresh temporary folder, removed with everything in it when the object goes away, and small
// helpers to write and read whole files as bytes.

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Clock.h"

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The folder with a trailing separator, as the program's appDirectory is.
    std::string directory() const { return path_.string() + "/"; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // The names of everything in the folder, sorted: what a test left there and nothing else.
    std::vector<std::string> names() const;

private:
    std::filesystem::path path_;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
// The size of a file, 0 when there is none.
std::uintmax_t fileSizeOf(const std::string& path);
// The files of a folder whose names end in extension, read in name order as one string (empty
// when there is no such folder).
std::string readFilesIn(const std::string& folder, const std::string& extension);

// A clock that shows a fixed local time, changed by set().
class CFixedClock final : public IClock {
public:
    CFixedClock(int year, int month, int day, int hour, int minute, int second);
    std::tm localNow() const override { return now_; }
    void set(int year, int month, int day, int hour, int minute, int second);

private:
    std::tm now_{};
};
