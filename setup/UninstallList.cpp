#include "setup/UninstallList.h"

#include <cerrno>
#include <unistd.h>

#include "setup/SetupFiles.h"

int CUninstallList::open(const std::string& path, Mode mode)
{
    file_.reset();
    int fd = -1;
    if (int error = openForWriting(path, mode == Mode::Append, fd); error != 0)
        return error;
    file_.reset(::fdopen(fd, mode == Mode::Create ? "wb" : "ab"));
    if (!file_) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    return 0;
}

int CUninstallList::addLine(const std::string& path)
{
    if (!file_)
        return 0;
    std::string line = path + "\r\r\n";
    if (std::fwrite(line.data(), 1, line.size(), file_.get()) != line.size())
        return errno;
    return std::fflush(file_.get()) == 0 ? 0 : errno;
}
