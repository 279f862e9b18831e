#pragma once
// How the record and log readers fill a table: room for the whole file first, and a failure on
// the way (memory that runs out, a limit, a read error) reported as a result code, with the
// table left empty.

#include <cerrno>
#include <new>
#include <stdexcept>

#include "core/LineReader.h"
#include "files/DataTable.h"

// Reserves room for the reader's file in rows, then runs fill(), which adds the rows and
// returns 0 or a failure code; 0, or the failure (ENOMEM when memory runs out) with rows
// emptied.
template <typename Fill> int fillRows(const CLineReader& reader, CDataTable& rows, Fill fill)
{
    int result = 0;
    try {
        rows.reserveBytes(reader.fileSize());
        result = fill();
    } catch (const std::bad_alloc&) {
        result = ENOMEM;
    } catch (const std::length_error&) {
        result = ENOMEM;
    }
    if (result != 0)
        rows.release();
    return result;
}
