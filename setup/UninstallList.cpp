#include "setup/UninstallList.h"

#include <cerrno>

int CUninstallList::open(const std::string& path, Mode mode)
{
    file_.reset(std::fopen(path.c_str(), mode == Mode::Create ? "wb" : "ab"));
    return file_ ? 0 : errno;
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
