#include "viewers/SaveAs.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

// Closes a descriptor when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now; the errno of a failed close (a delayed write error), else 0.
    int close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd_;
};

std::string extensionOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot + 1);
}

int writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

int copyBytes(int from, int to)
{
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (got == 0)
            return 0;
        if (int error = writeAll(to, buffer.data(), static_cast<std::size_t>(got)))
            return error;
    }
}

// A name beside target that no other copy uses.
std::string temporaryName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    return target + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

} // namespace

CFileDialogRequest saveAsRequest(ViewerFile kind, const std::string& appDirectory)
{
    if (kind == ViewerFile::Record)
        return {"ivt", "Ventora", appDirectory, "Instrument Ventora files (*.ivt;)|*.ivt||"};
    return {"lvt", "Ventora", appDirectory, "Logger Ventora files (*.lvt;)|*.lvt||"};
}

int copyFileOver(const std::string& source, const std::string& target)
{
    FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        return errno;
    const std::string temporary = temporaryName(target);
    FileDescriptor out(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (out.get() < 0)
        return errno;
    int error = copyBytes(in.get(), out.get());
    if (!error && ::fsync(out.get()) != 0)
        error = errno;
    if (const int closed = out.close(); !error)
        error = closed;
    if (!error && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error)
        ::unlink(temporary.c_str());
    return error;
}

SaveAsResult saveFileAs(ViewerFile kind, const std::string& source, const std::string& appDirectory,
                        IFileDialog& dialog, IMessageBox& messages)
{
    const CFileDialogRequest request = saveAsRequest(kind, appDirectory);
    const std::string target = dialog.askSavePath(request);
    if (target.empty())
        return SaveAsResult::Cancelled;
    if (extensionOf(target) != request.defaultExtension) {
        messages.tell(kBadExtensionMessage, MessageIcon::Stop);
        return SaveAsResult::BadExtension;
    }
    // Copying a file over itself would only rewrite the same bytes; a hard link or another
    // spelling of the opened file's path counts as the same file.
    std::error_code ignored;
    if (std::filesystem::equivalent(source, target, ignored))
        return SaveAsResult::SameFile;
    if (copyFileOver(source, target) != 0) {
        messages.tell(kSaveFailedMessage, MessageIcon::Stop);
        return SaveAsResult::Failed;
    }
    return SaveAsResult::Saved;
}
