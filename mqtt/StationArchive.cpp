#include "mqtt/StationArchive.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/MessageBox.h"
#include "core/FileCopy.h"
#include "core/SiblingFile.h"
#include "mqtt/SampleClock.h"
#include "files/RecordingWriter.h"

namespace {

// The writer reports a failure through a message box: here it only raises a flag.
class CFailureFlag final : public IMessageBox {
public:
    void tell(std::string_view, MessageIcon) override { raised = true; }
    bool askYesNo(std::string_view, MessageIcon) override { return false; }
    bool raised = false;
};

int writeText(const std::string& target, const std::string& text)
{
    std::string temporary;
    int fd = -1;
    if (int error = createSiblingFile(target, temporary, fd); error != 0)
        return error;
    const int error = writeAllBytes(fd, text.data(), text.size());
    ::close(fd);
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    return renameOver(temporary, target);
}

} // namespace

CStationArchive::CStationArchive(std::string folder, Log log)
    : folder_(std::move(folder)), log_(std::move(log))
{
    if (!folder_.empty() && folder_.back() != '/')
        folder_ += '/';
}

std::string CStationArchive::seqPath(const std::string& station) const
{
    return folder_ + station + "/last-seq";
}

std::string CStationArchive::filePath(const std::string& station,
                                      std::string_view recordingTime) const
{
    std::string day;
    day += recordingTime.substr(0, 4);
    day += recordingTime.substr(5, 2);
    day += recordingTime.substr(8, 2);
    return folder_ + station + "/" + station + "-" + day + ".ivt";
}

CStationArchive::Station& CStationArchive::station(const std::string& name)
{
    auto found = stations_.find(name);
    if (found != stations_.end())
        return found->second;
    Station entry;
    const int fd = ::open(seqPath(name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char text[32];
        const ssize_t got = ::read(fd, text, sizeof text);
        ::close(fd);
        std::uint64_t seq = 0;
        const char* end = text + std::max<ssize_t>(got, 0);
        if (std::from_chars(text, end, seq).ec == std::errc())
            entry.lastSeq = seq;
    }
    return stations_.emplace(name, entry).first->second;
}

std::uint64_t CStationArchive::lastSeq(const std::string& name) { return station(name).lastSeq; }

CStationArchive::Result CStationArchive::store(const SampleMessage& sample)
{
    Station& entry = station(sample.station);
    if (sample.seq <= entry.lastSeq) {
        ++duplicates_;
        if (!entry.dropping)
            log_(sample.station + ": dropping seq " + std::to_string(sample.seq) +
                 ", already stored up to " + std::to_string(entry.lastSeq));
        entry.dropping = true;
        return Result::Duplicate;
    }
    entry.dropping = false;
    const std::string path = filePath(sample.station, sample.recordingTime);
    if (::mkdir((folder_ + sample.station).c_str(), 0777) != 0 && errno != EEXIST) {
        if (!entry.failing)
            log_(sample.station + ": cannot create its folder: " + std::strerror(errno));
        entry.failing = true;
        return Result::Failed;
    }
    CSampleClock clock(sample.recordingTime);
    CFailureFlag failure;
    CRecordingWriter(path, clock, failure).appendDataText(sample.dataText);
    int error = failure.raised ? EIO : 0;
    if (error == 0)
        error = writeText(seqPath(sample.station), std::to_string(sample.seq) + "\n");
    if (error != 0) {
        if (!entry.failing)
            log_(std::string(kRecordingFileError) + " " + path +
                 ": samples are not stored until it can be written");
        entry.failing = true;
        return Result::Failed;
    }
    if (entry.failing)
        log_(sample.station + ": storing to " + path + " again");
    entry.failing = false;
    entry.lastSeq = sample.seq;
    ++stored_;
    return Result::Stored;
}
