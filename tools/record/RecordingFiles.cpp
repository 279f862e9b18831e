#include "tools/record/RecordingFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "core/MessageBox.h"
#include "files/CsvWriter.h"
#include "files/DataText.h"
#include "files/RecordingWriter.h"

// The time of the sample being written, so that the writer stamps the line with the reading
// that chose its file.
class CRecordingFiles::CStampClock final : public IClock {
public:
    std::tm localNow() const override { return time; }
    std::tm time{};
};

// The writer tells its failures through a message box: here they only raise a flag, and the
// files decide what to log.
class CRecordingFiles::CFailureFlag final : public IMessageBox {
public:
    void tell(std::string_view, MessageIcon) override { raised = true; }
    bool askYesNo(std::string_view, MessageIcon) override { return false; }
    bool raised = false;
};

std::string dailyFileName(const std::string& path, const std::tm& day)
{
    const std::size_t nameStart = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot <= nameStart)
        dot = path.size(); // no extension (a leading dot starts a name, not an extension)
    return path.substr(0, dot) + formatTime(day, "-%Y%m%d") + path.substr(dot);
}

CRecordingFiles::CRecordingFiles(std::string path, bool rotateDaily, IClock& clock, Log log)
    : path_(std::move(path)), rotateDaily_(rotateDaily), clock_(clock), log_(std::move(log)),
      stamp_(std::make_unique<CStampClock>()), failure_(std::make_unique<CFailureFlag>())
{
}

CRecordingFiles::~CRecordingFiles() = default;

std::string CRecordingFiles::currentPath() const
{
    return rotateDaily_ ? dailyFileName(path_, clock_.localNow()) : path_;
}

CRecordingWriter& CRecordingFiles::writerFor(const std::string& path)
{
    if (!writer_ || writer_->path() != path) {
        if (writer_ && rotateDaily_)
            log_("recording to " + path);
        writer_ = std::make_unique<CRecordingWriter>(path, *stamp_, *failure_);
    }
    return *writer_;
}

void CRecordingFiles::appendDataText(std::string_view dataText)
{
    const bool sample = makesRecordingLine(dataText);
    stamp_->time = clock_.localNow();
    const std::string path = rotateDaily_ ? dailyFileName(path_, stamp_->time) : path_;
    failure_->raised = false;
    writerFor(path).appendDataText(dataText);
    if (sample && failure_->raised) {
        ++lost_;
        ++lostInStreak_;
        if (!failing_)
            log_(std::string(kRecordingFileError) + " " + path +
                 ": samples are lost until it can be written");
        failing_ = true;
    } else if (sample) {
        ++written_;
        if (failing_)
            log_("recording to " + path + " again; " + std::to_string(lostInStreak_) +
                 " samples were lost");
        failing_ = false;
        lostInStreak_ = 0;
    }
    if (sample && echo_)
        echo_(csvSampleLine(formatTime(stamp_->time, kFullDateTimeLayout), dataText));
}

bool CRecordingFiles::emptyFile()
{
    const std::string path = currentPath();
    failure_->raised = false;
    if (writerFor(path).emptyFile())
        return true;
    log_(std::string(kRecordingFileError) + " " + path + ": it could not be emptied");
    return false;
}

int CRecordingFiles::reopen()
{
    int fd = -1;
    const int error = openRecordingFile(currentPath(), O_APPEND | O_CREAT, &fd);
    if (error == 0)
        ::close(fd);
    return error;
}
