#pragma once
// The recorder's output: every sample the engine records goes to the recording file, in the
// monitor's byte format (CRecordingWriter), or with daily rotation to the file of the sample's
// local day; optionally each sample is also handed on as a CSV line. One clock reading stamps
// the line, picks its file and stamps its CSV line, so a sample at midnight lands whole on one
// side. A file that cannot be written is logged once; the samples lost meanwhile are counted
// and reported when it can be written again.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/Clock.h"
#include "files/RecordingSink.h"

class CRecordingWriter;

// path with "-YYYYMMDD" of day inserted before the extension of its file name (or appended when
// the name has none): "data/dump.ivt" -> "data/dump-20240517.ivt".
std::string dailyFileName(const std::string& path, const std::tm& day);

class CRecordingFiles final : public IRecordingSink {
public:
    using Log = std::function<void(std::string_view line)>;
    using Echo = std::function<void(std::string_view csvLine)>;

    CRecordingFiles(std::string path, bool rotateDaily, IClock& clock, Log log);
    ~CRecordingFiles() override;

    // Each recorded sample also goes to echo, as csvSampleLine() writes it.
    void setEcho(Echo echo) { echo_ = std::move(echo); }

    void appendDataText(std::string_view dataText) override;
    bool emptyFile() override;

    // Opens the current file for appending (creating it) and closes it again: at start, and
    // after logrotate has moved the file away, so that a file that cannot be written shows now.
    // 0 or a result code of openRecordingFile (recordingErrorText tells it).
    int reopen();

    // The file that a sample recorded now goes to.
    std::string currentPath() const;
    unsigned long long samplesWritten() const { return written_; }
    unsigned long long samplesLost() const { return lost_; }

private:
    class CStampClock;
    class CFailureFlag;

    // The writer of path, made anew when the day's file changes.
    CRecordingWriter& writerFor(const std::string& path);

    std::string path_;
    bool rotateDaily_;
    IClock& clock_;
    Log log_;
    Echo echo_;
    std::unique_ptr<CStampClock> stamp_;
    std::unique_ptr<CFailureFlag> failure_;
    std::unique_ptr<CRecordingWriter> writer_;
    unsigned long long written_ = 0;
    unsigned long long lost_ = 0;
    unsigned long long lostInStreak_ = 0;
    bool failing_ = false;
};
