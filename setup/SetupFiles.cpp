#include "setup/SetupFiles.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

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
    std::error_code error;
    bool copied = std::filesystem::copy_file(
        source, destination, std::filesystem::copy_options::overwrite_existing, error);
    if (error)
        return error.value();
    return copied ? 0 : EIO;
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
