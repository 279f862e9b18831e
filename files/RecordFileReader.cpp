#include "files/RecordFileReader.h"

#include <cerrno>

#include "core/CText.h"
#include "core/LineReader.h"
#include "core/MemoryLimit.h"
#include "files/FileLimits.h"
#include "files/RowFilling.h"

namespace {

// Fills rows from an open reader; 0, or the failure (ENOMEM, kTooManyRows, a read error) with
// rows emptied.
int readRecordLines(CLineReader& reader, CDataTable& rows)
{
    return fillRows(reader, rows, [&] {
        std::string_view piece;
        while (reader.next(piece)) {
            std::string_view line = ctext::trimRight(piece);
            if (line.empty())
                continue;
            addRecordLine(rows, line);
            // Checked as the rows come: a file of short lines is refused within its first KB.
            if (!recordRowsWithinLimit(rows.rowCount(), reader.position()))
                return kTooManyRows;
        }
        return reader.error();
    });
}

} // namespace

void addRecordLine(CDataTable& rows, std::string_view line)
{
    std::size_t hash = line.find('#');
    if (hash == std::string_view::npos) {
        rows.addRow({});
        rows.addDataLine(line);
        return;
    }
    rows.addRow(line.substr(0, hash));
    rows.addDataLine(line.substr(hash + 1));
}

bool readRecordFile(const std::string& path, CDataTable& rows, IMessageBox& messages)
{
    rows.reset(CDataTable::Layout::Record);
    CLineReader reader(kLinePieceLength);
    errno = 0;
    if (!reader.open(path)) {
        messages.tell(kRecordFileOpenError, MessageIcon::Stop);
        return false;
    }
    int error = fileFitsInMemory(reader.fileSize()) ? readRecordLines(reader, rows) : EFBIG;
    if (error != 0) {
        errno = error; // the reason, for a caller that reports it
        messages.tell(kRecordFileOpenError, MessageIcon::Stop);
        return false;
    }
    return true;
}

int readRecordText(std::string_view bytes, CDataTable& rows)
{
    rows.reset(CDataTable::Layout::Record);
    CLineReader reader(kLinePieceLength);
    reader.openText(bytes);
    return readRecordLines(reader, rows);
}
