#pragma once
// How the record and log readers fill a table: room for the whole file first, and memory that
// runs out on the way reported as a result code, with the table left empty.

#include <cerrno>
#include <new>
#include <stdexcept>

#include "core/LineReader.h"
#include "files/DataTable.h"

// Reserves room for the reader's file in rows, then runs fill(), which adds the rows; 0, or
// ENOMEM with rows emptied when memory runs out.
template <typename Fill> int fillRows(const CLineReader& reader, CDataTable& rows, Fill fill)
{
    try {
        rows.reserveBytes(reader.fileSize());
        fill();
    } catch (const std::bad_alloc&) {
        rows.release();
        return ENOMEM;
    } catch (const std::length_error&) {
        rows.release();
        return ENOMEM;
    }
    return 0;
}
