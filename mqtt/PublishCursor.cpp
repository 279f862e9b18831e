#include "mqtt/PublishCursor.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <unistd.h>

#include "core/FileCopy.h"
#include "core/SiblingFile.h"

namespace {

bool readNumber(std::string_view text, std::uint64_t& value)
{
    const char* end = text.data() + text.size();
    const auto [ptr, code] = std::from_chars(text.data(), end, value);
    return !text.empty() && code == std::errc() && ptr == end;
}

} // namespace

int loadPublishCursor(const std::string& path, PublishCursor& cursor)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    std::string text;
    char buffer[1024];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || text.size() > 8192)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    PublishCursor result;
    bool hasFile = false, hasOffset = false, hasSeq = false;
    std::string_view rest = text;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        if (end == std::string_view::npos)
            return EINVAL; // cut short
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        if (line.starts_with("file=")) {
            result.file = std::string(line.substr(5));
            hasFile = result.file.find('/') == std::string::npos;
        } else if (line.starts_with("offset=")) {
            hasOffset = readNumber(line.substr(7), result.offset);
        } else if (line.starts_with("seq=")) {
            hasSeq = readNumber(line.substr(4), result.seq);
        }
    }
    if (!hasFile || !hasOffset || !hasSeq)
        return EINVAL;
    cursor = std::move(result);
    return 0;
}

int savePublishCursor(const std::string& path, const PublishCursor& cursor)
{
    std::string temporary;
    int fd = -1;
    if (int error = createSiblingFile(path, temporary, fd); error != 0)
        return error;
    const std::string text = "file=" + cursor.file + "\noffset=" + std::to_string(cursor.offset) +
                             "\nseq=" + std::to_string(cursor.seq) + "\n";
    int error = writeAllBytes(fd, text.data(), text.size());
    if (error == 0 && ::fdatasync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    return renameOver(temporary, path);
}
