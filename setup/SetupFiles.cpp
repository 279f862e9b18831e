#include "setup/SetupFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/SiblingFile.h"

namespace {

// Writes all of the bytes, retrying short writes. 0 or an errno.
int writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

// Copies the rest of source into destination. 0 or an errno.
int copyBytes(int source, int destination)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(source, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        if (int error = writeAll(destination, buffer, static_cast<std::size_t>(got)); error != 0)
            return error;
    }
}

// Closes a new sibling file and renames it over path, or removes it when error is set.
int finishSibling(int fd, const std::string& sibling, const std::string& path, int error)
{
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(sibling.c_str());
        return error;
    }
    return renameOver(sibling, path);
}

} // namespace

FolderResult createFolder(const std::string& path)
{
    if (path.find_first_of("\r\n") != std::string::npos)
        return FolderResult::Failed;
    if (::mkdir(path.c_str(), 0777) == 0)
        return FolderResult::Created;
    return errno == EEXIST ? FolderResult::Exists : FolderResult::Failed;
}

int copyReplacing(const std::string& source, const std::string& destination)
{
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    struct stat info {};
    int error = ::fstat(in, &info) != 0 ? errno : 0;
    if (error == 0 && !S_ISREG(info.st_mode))
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    if (error != 0) {
        ::close(in);
        return error;
    }
    std::string sibling;
    int out = -1;
    error = createSiblingFile(destination, sibling, out);
    if (error == 0) {
        error = copyBytes(in, out);
        if (error == 0 && ::fchmod(out, info.st_mode & 07777) != 0)
            error = errno;
        error = finishSibling(out, sibling, destination, error);
    }
    ::close(in);
    return error;
}

int writeReplacing(const std::string& path, std::string_view bytes, int mode)
{
    std::string sibling;
    int fd = -1;
    if (int error = createSiblingFile(path, sibling, fd); error != 0)
        return error;
    int error = writeAll(fd, bytes.data(), bytes.size());
    if (error == 0 && mode >= 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0)
        error = errno;
    return finishSibling(fd, sibling, path, error);
}

int openForWriting(const std::string& path, bool append, int& fd)
{
    fd = -1;
    if (append) {
        // An existing list is added to; O_NOFOLLOW keeps a link put there meanwhile out.
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
            return fd >= 0 ? 0 : errno;
        }
    }
    // A new, empty file renamed into place at once: whatever was there (a link among others)
    // is replaced, never written through.
    std::string sibling;
    if (int error = createSiblingFile(path, sibling, fd); error != 0)
        return error;
    if (int error = renameOver(sibling, path); error != 0) {
        ::close(fd);
        fd = -1;
        return error;
    }
    return 0;
}

int setNormalAttributes(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    mode_t mode = (info.st_mode & 07777) | S_IRUSR | S_IWUSR;
    return ::chmod(path.c_str(), mode) == 0 ? 0 : errno;
}
