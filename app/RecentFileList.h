#pragma once
// The most-recently-used file list of the profile: newest first, no duplicates, at most
// four entries.

#include <string>
#include <vector>

class CRecentFileList {
public:
    explicit CRecentFileList(std::size_t capacity = 4) : capacity_(capacity) {}

    // Puts path first, removing an older entry of the same path and the oldest beyond capacity.
    void add(const std::string& path);
    void remove(const std::string& path);
    const std::vector<std::string>& entries() const { return entries_; }
    std::size_t capacity() const { return capacity_; }

private:
    std::size_t capacity_;
    std::vector<std::string> entries_;
};
