#include "files/LogFileReader.h"

#include <cerrno>

#include "core/CText.h"
#include "core/LineReader.h"
#include "core/MemoryLimit.h"
#include "files/FileLimits.h"
#include "files/RowFilling.h"

namespace {

constexpr std::string_view kDateTimeTag = "DATE-TIME:";
// "DATE-TIME: " is 11 characters; the date-time starts right after it.
constexpr std::size_t kDateTimeStart = 11;

// Walks the records of an open log file. Sink::record(dateTime) and Sink::dataLine(line) (each
// data line of the current record, trimmed) return false to stop. A control hears of the bytes
// read now and then, and stops the walk when it asks to (false then).
template <typename Sink>
bool scanRecords(CLineReader& reader, Sink& sink, CLoadControl* control)
{
    enum class State { BeforeRecord, AfterDateTime, AfterData } state = State::BeforeRecord;
    std::string_view piece;
    std::size_t pieces = 0;
    std::uint64_t told = 0;
    while (reader.next(piece)) {
        if (control && pieces++ % 8192 == 0) {
            control->advance(reader.position() - told);
            told = reader.position();
            if (control->aborted())
                return false;
        }
        if (piece.find(kDateTimeTag) != std::string_view::npos) {
            std::string_view rest = piece.size() > kDateTimeStart ? piece.substr(kDateTimeStart)
                                                                  : std::string_view();
            if (!sink.record(ctext::trimRight(rest)))
                return true;
            state = State::AfterDateTime;
            continue;
        }
        if (state == State::BeforeRecord)
            continue;
        std::string_view line = ctext::trimRight(piece);
        // The line right after "DATE-TIME:" is data even when empty; a later empty line ends.
        if (state == State::AfterData && line.empty())
            return true;
        if (!sink.dataLine(line))
            return true;
        state = State::AfterData;
    }
    return true;
}

// One pass cuts the rows: the first record's data lines set the blocks (at most
// kMaxLogBlocks), and later records keep as many lines. Reading once means the rows and the
// columns come from the same bytes, even when the file changes while it is read.
struct RowCutter {
    CDataTable& rows;
    int records = 0;
    int firstRecordLines = 0;
    int failure = 0;
    bool record(std::string_view dateTime)
    {
        if (++records == 2)
            rows.setBlockCount(firstRecordLines);
        rows.addRow(dateTime);
        return true;
    }
    bool dataLine(std::string_view line)
    {
        if (records == 1 && ++firstRecordLines > kMaxLogBlocks) {
            failure = kTooManyBlocks;
            return false;
        }
        rows.addDataLine(line);
        return true;
    }
};

// Reads an open reader into rows; 0, or the failure (ENOMEM, kTooManyBlocks, a read error) with
// rows emptied.
int cutRows(CLineReader& reader, CDataTable& rows, CLoadControl* control = nullptr)
{
    rows.reset(CDataTable::Layout::Log, kMaxLogBlocks);
    return fillRows(reader, rows, [&] {
        RowCutter cutter{rows};
        if (!scanRecords(reader, cutter, control))
            return ECANCELED;
        if (cutter.failure == 0 && cutter.records < 2)
            rows.setBlockCount(cutter.firstRecordLines);
        return cutter.failure != 0 ? cutter.failure : reader.error();
    });
}

} // namespace

bool readLogFile(const std::string& path, CDataTable& rows, IMessageBox& messages,
                 CLoadControl* control)
{
    rows.reset(CDataTable::Layout::Log, 0);
    CLineReader reader(kLinePieceLength);
    errno = 0;
    if (!reader.open(path)) {
        // The file is read in two passes as far as the user can tell: a file that cannot be
        // opened is reported for each.
        const int reason = errno;
        messages.tell(kLogFileOpenError, MessageIcon::Stop);
        errno = reason;
        messages.tell(kLogFileOpenError, MessageIcon::Stop);
        return false;
    }
    if (control)
        control->addWork(reader.fileSize());
    const int error =
        fileFitsInMemory(reader.fileSize()) ? cutRows(reader, rows, control) : EFBIG;
    if (error != 0) {
        rows.reset(CDataTable::Layout::Log, 0);
        errno = error; // the reason, for a caller that reports it
        if (error != ECANCELED) // a reading stopped on request shows nothing
            messages.tell(kLogFileOpenError, MessageIcon::Stop);
        errno = error;
        return false;
    }
    return true;
}

int readLogText(std::string_view bytes, CDataTable& rows)
{
    CLineReader reader(kLinePieceLength);
    reader.openText(bytes);
    const int error = cutRows(reader, rows);
    if (error != 0)
        rows.reset(CDataTable::Layout::Log, 0);
    return error;
}
