#include "core/SiblingFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<unsigned> counter{0};

} // namespace

int createSiblingFile(const std::string& target, std::string& path, int& fd)
{
    fd = -1;
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty())
        return EISDIR;
    // Process id, time and a counter make the name unique; O_EXCL makes sure of it.
    const auto seed = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned long long number = seed * 31 +
                                          static_cast<unsigned long long>(::getpid()) * 1000003ULL +
                                          counter.fetch_add(1);
        // The name is shortened so that a long one stays within the 255 bytes a name may have.
        path = folder + "." + name.substr(0, 200) + "." + std::to_string(number % 1000000000ULL) +
               ".tmp";
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0)
            return 0;
        if (errno != EEXIST)
            break;
    }
    const int error = errno;
    path.clear();
    return error != 0 ? error : EEXIST;
}

int renameOver(const std::string& path, const std::string& target)
{
    if (std::rename(path.c_str(), target.c_str()) == 0)
        return 0;
    const int error = errno;
    ::unlink(path.c_str());
    return error;
}
