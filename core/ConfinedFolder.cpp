#include "core/ConfinedFolder.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The canonical form of an existing folder (links resolved), or empty.
std::string canonical(const std::string& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return {};
    std::string result(resolved);
    std::free(resolved);
    return result;
}

bool hasParentStep(std::string_view path)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        if (path.substr(start, slash - start) == "..")
            return true;
        start = slash + 1;
    }
    return false;
}

// Splits path into its parent folder and its last part.
std::pair<std::string, std::string> splitLast(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

} // namespace

CConfinedFolder::CConfinedFolder(const std::string& folder) : folder_(canonical(folder))
{
    if (folder_ == "/")
        folder_.clear();
}

void CConfinedFolder::allowFile(const std::string& path)
{
    auto [parent, name] = splitLast(path);
    std::string folder = canonical(parent);
    if (!folder.empty() && !name.empty() && name != "." && name != "..")
        allowed_.emplace_back(std::move(folder), std::move(name));
}

Confinement CConfinedFolder::resolve(std::string_view path, CConfinedTarget& target) const
{
    if (path.empty() || path.find('\0') != std::string_view::npos || hasParentStep(path))
        return Confinement::Outside;
    std::string full(path);
    if (full.front() != '/') {
        if (folder_.empty())
            return Confinement::Outside;
        full = folder_ + "/" + full;
    }
    auto [parent, name] = splitLast(full);
    if (name.empty() || name == ".")
        return Confinement::Outside;
    std::string folder = canonical(parent);
    if (folder.empty())
        return Confinement::Unresolved;
    const bool inside = !folder_.empty() && (folder == folder_ || (folder.size() > folder_.size() &&
                                                                   folder.starts_with(folder_) &&
                                                                   folder[folder_.size()] == '/'));
    bool allowed = false;
    for (const auto& [allowedFolder, allowedName] : allowed_)
        allowed = allowed || (folder == allowedFolder && name == allowedName);
    if (!inside && !allowed)
        return Confinement::Outside;
    target = {std::move(folder), std::move(name)};
    return Confinement::Inside;
}

int openConfinedFolder(const CConfinedTarget& target)
{
    if (target.folder.empty() || target.folder.front() != '/')
        return errno = EINVAL, -1;
    int fd = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
    std::size_t start = 1;
    while (fd >= 0 && start < target.folder.size()) {
        const std::size_t slash = std::min(target.folder.find('/', start), target.folder.size());
        const std::string part = target.folder.substr(start, slash - start);
        const int next = ::openat(fd, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        ::close(fd);
        fd = next;
        errno = error;
        start = slash + 1;
    }
    return fd;
}
