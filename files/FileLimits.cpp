#include "files/FileLimits.h"

#include <cerrno>
#include <cstring>

#include "core/MemoryLimit.h"
#include "core/MessageBox.h"
#include "files/DataTable.h"
#include "files/RecordStore.h"

bool recordRowsWithinLimit(std::uint64_t rows, std::uint64_t bytes)
{
    return rows <= kRecordRowAllowance + bytes / kRecordBytesPerRow;
}

bool outputWithinLimit(std::uint64_t outputBytes, std::uint64_t inputBytes)
{
    return outputBytes <= kOutputAllowance + inputBytes * kOutputPerInputByte;
}

std::uint64_t viewerMemoryNeed(std::uint64_t rows, std::uint64_t columns,
                               std::uint64_t plottedSeries, std::uint64_t bytesPerPoint)
{
    return rows * plottedSeries * bytesPerPoint + columns * kViewerBytesPerColumn;
}

int checkViewerMemory(std::uint64_t rows, std::uint64_t columns, std::uint64_t plottedSeries,
                      std::uint64_t bytesPerPoint)
{
    return viewerMemoryNeed(rows, columns, plottedSeries, bytesPerPoint) <= availableMemoryBytes()
               ? 0
               : ENOMEM;
}

bool admitToViewer(CDataTable& rows, int plottedSeries, std::string_view openError,
                   IMessageBox& messages)
{
    const bool inPlace = rows.store() && rows.store()->hasValues();
    const int error =
        checkViewerMemory(rows.rowCount(), static_cast<std::uint64_t>(rows.columnCount()) + 1,
                          static_cast<std::uint64_t>(plottedSeries),
                          inPlace ? kViewerBytesPerIndexedPoint : kViewerBytesPerPoint);
    if (error == 0)
        return true;
    rows.release();
    errno = error;
    messages.tell(openError, MessageIcon::Stop);
    return false;
}

std::string fileErrorText(int code)
{
    switch (code) {
    case kTooManyBlocks:
        return "more than 64 instrument blocks in a log record";
    case kTooManyRows:
        return "more rows than its size allows: at most one per 20 bytes";
    case kOutputTooLarge:
        return "the output would be more than 4 times the size of the input";
    default:
        return std::strerror(code);
    }
}
