#include "core/LineReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::size_t kBlockSize = 1 << 20;
}

CLineReader::CLineReader(std::size_t maxChars) : maxChars_(maxChars == 0 ? 1 : maxChars) {}

CLineReader::~CLineReader() { close(); }

bool CLineReader::open(const std::string& path)
{
    close();
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return false;
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        close();
        errno = EISDIR;
        return false;
    }
    fileSize_ = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
    buffer_.resize(kBlockSize + 2 * maxChars_ + 2);
    begin_ = end_ = 0;
    endOfFile_ = false;
    error_ = 0;
    position_ = 0;
    return true;
}

void CLineReader::openText(std::string_view bytes)
{
    close();
    inMemory_ = true;
    fileSize_ = bytes.size();
    buffer_.assign(bytes.begin(), bytes.end());
    begin_ = 0;
    end_ = buffer_.size();
    endOfFile_ = true;
    error_ = 0;
    position_ = 0;
}

void CLineReader::close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    inMemory_ = false;
}

// Moves the unread bytes to the front and reads another block behind them.
bool CLineReader::fill()
{
    if (endOfFile_ || fd_ < 0)
        return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    while (end_ < buffer_.size()) {
        ssize_t got = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            // What was read before the error is dropped: a reader must not take a shortened
            // file for the whole one.
            error_ = errno;
            begin_ = end_ = 0;
        }
        if (got <= 0) {
            endOfFile_ = true;
            break;
        }
        end_ += static_cast<std::size_t>(got);
        break;
    }
    return true;
}

std::size_t nextPieceLength(const char* data, std::size_t available, std::size_t maxChars)
{
    const std::size_t window = available < maxChars + 1 ? available : maxChars + 1;
    const void* lineFeed = std::memchr(data, '\n', window);
    if (lineFeed) {
        const std::size_t length = static_cast<const char*>(lineFeed) - data + 1;
        const bool crlf = length >= 2 && data[length - 2] == '\r';
        if ((crlf ? length - 1 : length) <= maxChars)
            return length;
    }
    // No line end within the limit: maxChars characters, a CR LF counting as one and ending it.
    std::size_t i = 0;
    for (std::size_t characters = 0; characters < maxChars && i < available; ++characters) {
        if (data[i] == '\r' && i + 1 < available && data[i + 1] == '\n')
            return i + 2;
        if (data[i++] == '\n')
            break;
    }
    return i;
}

bool CLineReader::next(std::string_view& piece)
{
    // Keep enough bytes ahead that a whole piece (with a CR LF pair) is in the buffer.
    while (end_ - begin_ < maxChars_ + 1 && !endOfFile_)
        fill();
    if (begin_ == end_ || error_ != 0)
        return false;

    const char* data = buffer_.data() + begin_;
    const std::size_t length = nextPieceLength(data, end_ - begin_, maxChars_);
    begin_ += length;
    position_ += length;
    if (length >= 2 && data[length - 2] == '\r' && data[length - 1] == '\n') {
        piece_.assign(data, length - 2);
        piece_.push_back('\n');
        piece = piece_;
    } else {
        piece = std::string_view(data, length);
    }
    return true;
}
