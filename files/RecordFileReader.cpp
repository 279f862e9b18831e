#include "files/RecordFileReader.h"

#include "core/CText.h"
#include "core/LineReader.h"
#include "files/FileLimits.h"

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
    if (!reader.open(path)) {
        messages.tell(kRecordFileOpenError, MessageIcon::Stop);
        return false;
    }
    rows.reserveBytes(reader.fileSize());
    std::string_view piece;
    while (reader.next(piece)) {
        std::string_view line = ctext::trimRight(piece);
        if (!line.empty())
            addRecordLine(rows, line);
    }
    return true;
}
