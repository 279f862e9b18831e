#include "setup/SetupFiles.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/FileCopy.h"
#include "core/SiblingFile.h"

namespace {

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

bool folderIsPrivate(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
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
        error = copyAllBytes(in, out);
        if (error == 0 && ::fchmod(out, info.st_mode & 0777) != 0)
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
    int error = writeAllBytes(fd, bytes.data(), bytes.size());
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

int setNormalAttributes(const CConfinedFolder& scope, const std::string& path)
{
    CConfinedTarget target;
    if (scope.resolve(path, target) != Confinement::Inside)
        return EPERM;
    const int folder = openConfinedFolder(target);
    if (folder < 0)
        return errno;
    // The file is looked at and changed through its folder, never through a link.
    struct stat info {};
    int error = 0;
    if (::fstatat(folder, target.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = EINVAL;
    else if (::fchmodat(folder, target.name.c_str(), (info.st_mode & 0777) | S_IRUSR | S_IWUSR,
                        AT_SYMLINK_NOFOLLOW) != 0)
        error = errno;
    ::close(folder);
    return error;
}
