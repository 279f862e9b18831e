#include "core/FileCopy.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

int writeAllBytes(int fd, const char* data, std::size_t size)
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

int copyAllBytes(int from, int to)
{
    std::vector<char> buffer(std::size_t{1} << 20);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        if (int error = writeAllBytes(to, buffer.data(), static_cast<std::size_t>(got)))
            return error;
    }
}
