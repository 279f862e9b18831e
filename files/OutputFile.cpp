#include "files/OutputFile.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "core/FileCopy.h"
#include "core/SiblingFile.h"
#include "files/InterruptCleanup.h"

namespace {

// The descriptor that a name of an open descriptor of this process stands for (/dev/stdout,
// /dev/fd/1, /proc/self/fd/1), else -1. Such a name is a link to whatever the descriptor is
// open on (a pipe, a terminal, the file the shell redirected to): the descriptor is written,
// at the offset and with the flags the shell gave it.
int descriptorNumber(std::string_view path)
{
    if (path == "/dev/stdout")
        return 1;
    if (path == "/dev/stderr")
        return 2;
    const std::string self = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (std::string_view prefix :
         {std::string_view("/dev/fd/"), std::string_view("/proc/self/fd/"),
          std::string_view("/proc/thread-self/fd/"), std::string_view(self)}) {
        if (!path.starts_with(prefix))
            continue;
        std::string_view digits = path.substr(prefix.size());
        if (digits.empty() || digits.size() > 6 ||
            digits.find_first_not_of("0123456789") != std::string_view::npos)
            return -1;
        return std::atoi(std::string(digits).c_str());
    }
    return -1;
}

// The path that symbolic links at path lead to (path itself when it is none), also when the
// last one leads nowhere yet; or the descriptor a link leads to (descriptor >= 0). 0 or an
// errno (ELOOP for a cycle).
int followLinks(std::string path, std::string& result, int& descriptor)
{
    descriptor = -1;
    for (int hops = 0; hops < 40; ++hops) {
        descriptor = descriptorNumber(path);
        if (descriptor >= 0)
            return 0;
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

int COutputFile::open(const std::string& target, Writer writer)
{
    discard();
    if (target.empty())
        return ENOENT;
    int descriptor = -1;
    if (int error = followLinks(target, target_, descriptor); error != 0)
        return error;
    if (descriptor >= 0)
        return openDirect(::fcntl(descriptor, F_DUPFD_CLOEXEC, 0), writer);
    struct stat info {};
    const bool exists = ::stat(target_.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        return errno;
    if (exists && S_ISDIR(info.st_mode))
        return EISDIR;
    // Devices and pipes cannot be replaced, nor can the files of /proc.
    if ((exists && !S_ISREG(info.st_mode)) || target_.starts_with("/proc/"))
        return openDirect(::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC), writer);
    // Replacing needs only the folder's permission; a file its owner made read-only stays so.
    if (exists && ::access(target_.c_str(), W_OK) != 0)
        return errno;
    return openReplacing(exists, info.st_mode & 0777, writer);
}

int COutputFile::openReplacing(bool exists, unsigned mode, Writer writer)
{
    int fd = -1;
    {
        CInterruptsHeld held; // the new file is never left behind by a signal
        if (int error = createSiblingFile(target_, temporary_, fd); error != 0)
            return error;
        setInterruptCleanupFile(this, temporary_);
    }
    mode_ = exists ? mode : 0;
    if (mode_ != 0)
        ::fchmod(fd, mode_);
    if (writer == Writer::ByName) {
        ::close(fd);
        byName_ = true;
        return 0;
    }
    stream_ = ::fdopen(fd, "wb");
    if (!stream_) {
        const int error = errno;
        ::close(fd);
        forgetTemporary(true);
        return error;
    }
    return 0;
}

int COutputFile::openDirect(int fd, Writer writer)
{
    if (fd < 0)
        return errno;
    direct_ = true;
    if (writer == Writer::Stream) {
        // fdopen never truncates: what the output held stays until bytes come.
        stream_ = ::fdopen(fd, "wb");
        if (stream_)
            return 0;
        const int error = errno;
        ::close(fd);
        return error;
    }
    // A library writes a file of ours, which commit() copies to the output: it may seek and
    // rewrite (a workbook's archive does), which a pipe cannot.
    directFd_ = fd;
    std::error_code error;
    std::string name =
        (std::filesystem::temp_directory_path(error) / "ventora-output-XXXXXX").string();
    CInterruptsHeld held;
    const int temporaryFd = ::mkstemp(name.data());
    if (temporaryFd < 0)
        return errno;
    ::close(temporaryFd);
    temporary_ = name;
    setInterruptCleanupFile(this, temporary_);
    byName_ = true;
    return 0;
}

int COutputFile::commit()
{
    if (byName_)
        return commitByName();
    if (!stream_)
        return EBADF;
    int error = 0;
    errno = 0;
    if (std::fflush(stream_) != 0 || std::ferror(stream_))
        error = errno != 0 ? errno : EIO;
    // On disk before the rename, so that a crash leaves the old file or the new one whole.
    if (error == 0 && !direct_ && ::fsync(::fileno(stream_)) != 0)
        error = errno;
    if (std::fclose(stream_) != 0 && error == 0)
        error = errno != 0 ? errno : EIO;
    stream_ = nullptr;
    if (direct_) {
        direct_ = false;
        return error;
    }
    if (error == 0) {
        error = renameOver(temporary_, target_);
        forgetTemporary(false);
    } else {
        forgetTemporary(true);
    }
    return error;
}

int COutputFile::commitByName()
{
    byName_ = false;
    const int fd =
        ::open(temporary_.c_str(), (direct_ ? O_RDONLY : O_WRONLY) | O_NOFOLLOW | O_CLOEXEC);
    int error = fd < 0 ? errno : 0;
    if (error == 0 && direct_)
        error = copyAllBytes(fd, directFd_);
    if (error == 0 && !direct_ && ::fsync(fd) != 0)
        error = errno;
    // The library may have made the file anew: the old file's permissions once more.
    if (error == 0 && !direct_ && mode_ != 0 && ::fchmod(fd, mode_) != 0)
        error = errno;
    if (fd >= 0 && ::close(fd) != 0 && error == 0)
        error = errno;
    if (directFd_ >= 0 && ::close(directFd_) != 0 && error == 0)
        error = errno;
    directFd_ = -1;
    if (error == 0 && !direct_) {
        error = renameOver(temporary_, target_);
        forgetTemporary(false);
    } else {
        forgetTemporary(true);
    }
    direct_ = false;
    return error;
}

void COutputFile::discard()
{
    if (stream_)
        std::fclose(stream_);
    stream_ = nullptr;
    if (directFd_ >= 0)
        ::close(directFd_);
    directFd_ = -1;
    forgetTemporary(true);
    direct_ = false;
    byName_ = false;
}

void COutputFile::forgetTemporary(bool remove)
{
    if (temporary_.empty())
        return;
    if (remove)
        ::unlink(temporary_.c_str());
    clearInterruptCleanupFile(this);
    temporary_.clear();
}
