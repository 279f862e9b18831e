#include "files/RecordFileReader.h"

#include <cerrno>
#include <memory>
#include <new>

#include "core/MemoryLimit.h"
#include "files/FileLimits.h"
#include "files/RecordStore.h"

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

bool readRecordFile(const std::string& path, CDataTable& rows, IMessageBox& messages,
                    const CRecordReading& how)
{
    rows.reset(CDataTable::Layout::Record);
    int error = ENOMEM;
    try {
        auto store = std::make_shared<CRecordStore>();
        error = store->open(path);
        if (error == 0 && !fileFitsInMemory(store->file().bytes().size()))
            error = EFBIG;
        if (error == 0)
            error = store->buildColumns(how.values ? how.valueColumns : 0, how.control);
        if (error == 0)
            rows.adoptStore(std::move(store));
    } catch (const std::bad_alloc&) {
        error = ENOMEM;
    }
    if (error == 0)
        return true;
    errno = error; // the reason, for a caller that reports it
    if (error != ECANCELED)
        messages.tell(kRecordFileOpenError, MessageIcon::Stop);
    errno = error;
    return false;
}

int readRecordText(std::string_view bytes, CDataTable& rows)
{
    rows.reset(CDataTable::Layout::Record);
    try {
        auto store = std::make_shared<CRecordStore>();
        store->assign(bytes);
        if (int error = store->build(true); error != 0)
            return error;
        rows.adoptStore(std::move(store));
    } catch (const std::bad_alloc&) {
        return ENOMEM;
    }
    return 0;
}
