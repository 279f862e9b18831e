#include "files/OutputFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include "core/SiblingFile.h"

namespace {

// Names under /dev and /proc stand for open descriptors and devices (/dev/stdout,
// /proc/self/fd/1): their files are written, never replaced.
bool namesDescriptor(const std::string& path)
{
    return path.starts_with("/dev/") || path.starts_with("/proc/");
}

// The path that symbolic links at path lead to (path itself when it is none), also when the
// last one leads nowhere yet. 0 or an errno (ELOOP for a cycle).
int followLinks(std::string path, std::string& result)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            result = path;
            return 0;
        }
        std::string link(4096, '\0');
        const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0)
            return errno;
        link.resize(static_cast<std::size_t>(length));
        if (link.empty())
            return ENOENT;
        if (link.front() != '/') {
            const std::size_t slash = path.rfind('/');
            link = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + link;
        }
        path = link;
    }
    return ELOOP;
}

} // namespace

COutputFile::~COutputFile() { discard(); }

int COutputFile::open(const std::string& target)
{
    discard();
    direct_ = false;
    if (target.empty())
        return ENOENT;
    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        return errno;
    if (exists && S_ISDIR(info.st_mode))
        return EISDIR;
    if ((exists && !S_ISREG(info.st_mode)) || namesDescriptor(target)) {
        target_ = target;
        direct_ = true;
        stream_ = std::fopen(target.c_str(), "wb");
        return stream_ ? 0 : errno;
    }
    if (int error = followLinks(target, target_); error != 0)
        return error;
    // Replacing needs only the folder's permission; a file its owner made read-only stays so.
    if (exists && ::access(target_.c_str(), W_OK) != 0)
        return errno;
    int fd = -1;
    if (int error = createSiblingFile(target_, temporary_, fd); error != 0)
        return error;
    // The new file takes the permissions of the one it replaces.
    if (exists)
        ::fchmod(fd, info.st_mode & 07777);
    stream_ = ::fdopen(fd, "wb");
    if (!stream_) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary_.c_str());
        temporary_.clear();
        return error;
    }
    return 0;
}

int COutputFile::commit()
{
    if (!stream_)
        return EBADF;
    int error = 0;
    if (std::fflush(stream_) != 0 || std::ferror(stream_))
        error = errno != 0 ? errno : EIO;
    // On disk before the rename, so that a crash leaves the old file or the new one whole.
    if (error == 0 && !direct_ && ::fsync(::fileno(stream_)) != 0)
        error = errno;
    if (std::fclose(stream_) != 0 && error == 0)
        error = errno != 0 ? errno : EIO;
    stream_ = nullptr;
    if (direct_)
        return error;
    if (error == 0)
        error = renameOver(temporary_, target_);
    else
        ::unlink(temporary_.c_str());
    temporary_.clear();
    return error;
}

void COutputFile::discard()
{
    if (stream_)
        std::fclose(stream_);
    stream_ = nullptr;
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}
