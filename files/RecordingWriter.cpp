#include "files/RecordingWriter.h"

#include <cerrno>
#include <fcntl.h>
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

} // namespace

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
    int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    struct stat info {};
    bool sized = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    int result = writeAll(fd, line);
    if (result != 0 && sized) {
        // Cut the partial line off again (a full disk or a size limit): the file keeps only
        // whole lines.
        while (::ftruncate(fd, info.st_size) != 0 && errno == EINTR) {
        }
    }
    if (::close(fd) != 0 && result == 0)
        result = errno == EINTR ? 0 : errno;
    return result;
}

int CRecordingWriter::truncateFile()
{
    int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
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
