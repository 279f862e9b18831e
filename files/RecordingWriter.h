#pragma once
// Appends instrument samples to the recording file dump.ivt: for each data text of exactly 104
// characters one line of the local date-time, "#", the data text and CR CR LF (the bytes a
// text-mode stream writes for a line composed with CR LF). The file is opened in append mode,
// written and closed for every line, so other programs may read or copy it at any time.
// A line that cannot be written completely is cut off again, so the file never holds a partial
// line; failures are reported, but never while an earlier failure message is still showing.
// Each append and its cut-back hold an advisory lock (flock), so two of our writers on one file
// never cut each other's lines; a file that does not end with a line end (a line cut by a crash)
// gets one before the next line, the fragment staying as a row of its own. The file must be a
// regular file or not exist yet: anything else (a FIFO, a device) is refused without blocking.

#include <string>
#include <string_view>

#include "core/Clock.h"
#include "core/MessageBox.h"
#include "files/DataText.h"
#include "files/RecordingSink.h"

inline constexpr std::string_view kRecordingFileError = "ERROR: Unable to open recording file.";
inline constexpr const char* kRecordingFileName = "dump.ivt";

// Result code of a recording output that exists and is no regular file.
inline constexpr int kNotRegularFile = -2;

// Opens path for writing (and reading where allowed) with flags (O_APPEND, O_CREAT) without
// blocking, however it is named, and keeps it only when it is a regular file: 0 with *fd set,
// else the errno or kNotRegularFile.
int openRecordingFile(const std::string& path, int flags, int* fd);

// The text of a result code of openRecordingFile.
std::string recordingErrorText(int code);

// Whether a data text makes a line of the file: exactly 104 characters, none of them NUL (which
// would end the composed C string early).
inline bool makesRecordingLine(std::string_view dataText)
{
    return dataText.size() == kDataTextLength && dataText.find('\0') == std::string_view::npos;
}

class CRecordingWriter final : public IRecordingSink {
public:
    // path is appDirectory + "dump.ivt".
    CRecordingWriter(std::string path, IClock& clock, IMessageBox& messages);

    void appendDataText(std::string_view dataText) override;
    bool emptyFile() override;

    const std::string& path() const { return path_; }

private:
    // Result codes: 0 on success, otherwise the errno of the failure.
    int appendLine(std::string_view line);
    int truncateFile();
    void report();

    std::string path_;
    IClock& clock_;
    IMessageBox& messages_;
    bool reporting_ = false;
};
