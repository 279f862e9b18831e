#include "app/RecentFileList.h"

#include <algorithm>

void CRecentFileList::add(const std::string& path)
{
    if (path.empty())
        return;
    remove(path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > capacity_)
        entries_.resize(capacity_);
}

void CRecentFileList::remove(const std::string& path)
{
    entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
}
