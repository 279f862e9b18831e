#include "files/RecordingWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "files/DataText.h"

namespace {

// A line composed with "%s#%s\r\n" counts 126 characters when the data text has 104.
constexpr std::size_t kComposedLineLength = 19 + 1 + kDataTextLength + 2;

// Writes all bytes, retrying after interruptions and short writes; 0 or the errno.
int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return EIO;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// What the file needs before the next line: the rest of CR CR LF when it ends inside a line.
std::string_view missingLineEnd(int fd, off_t size)
{
    constexpr std::string_view kLineEnd = "\r\r\n";
    if (size == 0)
        return {};
    char tail[2] = {};
    const off_t from = size >= 2 ? size - 2 : 0;
    const ssize_t n = ::pread(fd, tail, static_cast<std::size_t>(size - from), from);
    if (n <= 0 || tail[n - 1] == '\n')
        return {};
    std::size_t returns = 0;
    for (ssize_t at = n - 1; at >= 0 && tail[at] == '\r'; --at)
        ++returns;
    return kLineEnd.substr(returns);
}

// Holds the advisory lock of our writers until the descriptor closes.
void lockFile(int fd)
{
    // Without lock support (some network file systems) the append goes on unlocked.
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

} // namespace

int openRecordingFile(const std::string& path, int flags, int* fd)
{
    // O_NONBLOCK: opening a FIFO for writing would otherwise wait for a reader. Read access lets
    // the writer see how the file ends; a file that may only be written is written all the same.
    flags |= O_CLOEXEC | O_NONBLOCK;
    *fd = ::open(path.c_str(), O_RDWR | flags, 0666);
    if (*fd < 0 && errno == EACCES)
        *fd = ::open(path.c_str(), O_WRONLY | flags, 0666);
    if (*fd < 0)
        return errno;
    struct stat info {};
    if (::fstat(*fd, &info) == 0 && S_ISREG(info.st_mode))
        return 0;
    ::close(*fd);
    *fd = -1;
    return kNotRegularFile;
}

std::string recordingErrorText(int code)
{
    return code == kNotRegularFile ? "not a regular file" : std::strerror(code);
}

CRecordingWriter::CRecordingWriter(std::string path, IClock& clock, IMessageBox& messages)
    : path_(std::move(path)), clock_(clock), messages_(messages)
{
}

void CRecordingWriter::appendDataText(std::string_view dataText)
{
    if (!makesRecordingLine(dataText))
        return;
    std::string line = formatTime(clock_.localNow(), kFullDateTimeLayout);
    line += '#';
    line += dataText;
    line += "\r\n";
    if (line.size() != kComposedLineLength)
        return;
    // A text-mode stream writes every LF as CR LF: the composed CR LF becomes CR CR LF.
    std::string bytes;
    bytes.reserve(line.size() + 1);
    for (char c : line) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    if (appendLine(bytes) != 0)
        report();
}

bool CRecordingWriter::emptyFile()
{
    if (truncateFile() == 0)
        return true;
    report();
    return false;
}

int CRecordingWriter::appendLine(std::string_view line)
{
    int fd = -1;
    if (const int error = openRecordingFile(path_, O_APPEND | O_CREAT, &fd); error != 0)
        return error;
    lockFile(fd);
    // The size under the lock is where this append starts: no writer of ours adds to it now.
    struct stat info {};
    int result = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (result == 0) {
        std::string bytes(missingLineEnd(fd, info.st_size));
        bytes += line;
        result = writeAll(fd, bytes);
        if (result != 0) {
            // Cut the partial line off again (a full disk or a size limit): the file keeps only
            // whole lines.
            while (::ftruncate(fd, info.st_size) != 0 && errno == EINTR) {
            }
        }
    }
    if (::close(fd) != 0 && result == 0)
        result = errno == EINTR ? 0 : errno;
    return result;
}

int CRecordingWriter::truncateFile()
{
    int fd = -1;
    if (const int error = openRecordingFile(path_, O_CREAT, &fd); error != 0)
        return error;
    lockFile(fd);
    const int result = ::ftruncate(fd, 0) == 0 ? 0 : errno;
    ::close(fd);
    return result;
}

// The message box is modal: while it shows, later lines keep arriving and may fail too, but
// one box is enough.
void CRecordingWriter::report()
{
    if (reporting_)
        return;
    reporting_ = true;
    messages_.tell(kRecordingFileError, MessageIcon::Stop);
    reporting_ = false;
}
