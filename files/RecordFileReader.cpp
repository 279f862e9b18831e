#include "files/RecordFileReader.h"

#include <cerrno>
#include <new>
#include <stdexcept>

#include "core/CText.h"
#include "core/LineReader.h"
#include "core/MemoryLimit.h"
#include "files/FileLimits.h"

namespace {

// Fills rows from an open reader; 0, or ENOMEM with rows emptied when memory runs out.
int readRecordLines(CLineReader& reader, CDataTable& rows)
{
    try {
        rows.reserveBytes(reader.fileSize());
        std::string_view piece;
        while (reader.next(piece)) {
            std::string_view line = ctext::trimRight(piece);
            if (!line.empty())
                addRecordLine(rows, line);
        }
    } catch (const std::bad_alloc&) {
        rows.release();
        return ENOMEM;
    } catch (const std::length_error&) {
        rows.release();
        return ENOMEM;
    }
    return 0;
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
