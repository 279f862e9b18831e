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

// Walks the records of an open log file. Sink::record(dateTime) returns false to stop;
// Sink::dataLine(line) receives each data line of the current record, trimmed. A control
// hears of the bytes read now and then, and stops the walk when it asks to (false then).
template <typename Sink>
bool scanRecords(CLineReader& reader, Sink& sink, CLoadControl* control = nullptr)
{
    enum class State { BeforeRecord, AfterDateTime, AfterData } state = State::BeforeRecord;
    std::string_view piece;
    std::size_t pieces = 0, bytes = 0;
    while (reader.next(piece)) {
        bytes += piece.size();
        if (control && pieces++ % 8192 == 0) {
            control->advance(bytes);
            bytes = 0;
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
        sink.dataLine(line);
        state = State::AfterData;
    }
    return true;
}

// First pass: the number of data lines of the first record (at most the table's limit).
struct BlockCounter {
    int records = 0;
    int blocks = 0;
    bool record(std::string_view) { return records++ == 0; }
    void dataLine(std::string_view)
    {
        if (blocks < CDataTable::kMaxBlocks)
            ++blocks;
    }
};

// Second pass: one row per record.
struct RowCutter {
    CDataTable& rows;
    bool record(std::string_view dateTime)
    {
        rows.addRow(dateTime);
        return true;
    }
    void dataLine(std::string_view line) { rows.addDataLine(line); }
};

// Second pass over an open reader; 0, ENOMEM with rows emptied when memory runs out, or
// ECANCELED when control stopped it.
int cutRows(CLineReader& reader, CDataTable& rows, CLoadControl* control = nullptr)
{
    bool whole = true;
    const int error = fillRows(reader, rows, [&] {
        RowCutter cutter{rows};
        whole = scanRecords(reader, cutter, control);
    });
    return error != 0 ? error : (whole ? 0 : ECANCELED);
}

} // namespace

bool readLogFile(const std::string& path, CDataTable& rows, IMessageBox& messages,
                 CLoadControl* control)
{
    rows.reset(CDataTable::Layout::Log, 0);
    CLineReader reader(kLinePieceLength);
    BlockCounter counter;
    errno = 0;
    bool ok = reader.open(path);
    if (ok && !fileFitsInMemory(reader.fileSize())) {
        // Not even the first pass is made: it would read the whole file for nothing.
        errno = EFBIG;
        messages.tell(kLogFileOpenError, MessageIcon::Stop);
        return false;
    }
    if (ok && control)
        control->addWork(2 * reader.fileSize()); // two passes
    if (ok && !scanRecords(reader, counter, control)) {
        errno = ECANCELED;
        return false;
    }
    if (!ok)
        messages.tell(kLogFileOpenError, MessageIcon::Stop);

    rows.reset(CDataTable::Layout::Log, counter.blocks);
    errno = 0;
    if (!reader.open(path)) {
        messages.tell(kLogFileOpenError, MessageIcon::Stop);
        return false;
    }
    if (int error = cutRows(reader, rows, control); error != 0) {
        if (error == ECANCELED) {
            rows.release();
        } else {
            errno = error;
            messages.tell(kLogFileOpenError, MessageIcon::Stop);
        }
        errno = error;
        return false;
    }
    return ok;
}

int readLogText(std::string_view bytes, CDataTable& rows)
{
    CLineReader reader(kLinePieceLength);
    reader.openText(bytes);
    BlockCounter counter;
    scanRecords(reader, counter);
    rows.reset(CDataTable::Layout::Log, counter.blocks);
    reader.openText(bytes);
    return cutRows(reader, rows);
}
