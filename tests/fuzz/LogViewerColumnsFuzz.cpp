// Log files as the log viewer lays out its columns: the blocks stay within their limit and the
// memory the viewer asks for grows with the file, never faster (a record of empty blocks, a
// million data lines in the first record).
#include <cstdint>
#include <string_view>

#include "files/FileLimits.h"
#include "files/LogFileReader.h"
#include "tests/fuzz/FuzzCheck.h"
#include "viewers/LogBlocks.h"
#include "viewers/ViewerColumns.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CDataTable rows;
    if (readLogText(bytes, rows) != 0)
        return 0;
    const int blocks = rows.blockCount();
    FUZZ_CHECK(blocks >= 0 && blocks <= kMaxLogBlocks);
    const int columns = logColumnCount(blocks);
    FUZZ_CHECK(columns == 1 + 13 * blocks);
    FUZZ_CHECK(rows.columnCount() + 1 == columns);
    FUZZ_CHECK(initialHeaderBitmaps(columns).size() == static_cast<std::size_t>(columns));
    FUZZ_CHECK(logDataTitles(blocks).size() == static_cast<std::size_t>(columns - 1));
    // Every row stands on a "DATE-TIME:" line of the file: the graph's points and the
    // columns' memory are bounded by the file's size.
    FUZZ_CHECK(rows.rowCount() * 10 <= size);
    const std::uint64_t need =
        viewerMemoryNeed(rows.rowCount(), static_cast<std::uint64_t>(columns), kLogPlottedColumns);
    FUZZ_CHECK(need <= (size / 10 + 1) * kLogPlottedColumns * kViewerBytesPerPoint +
                           (1 + 13 * kMaxLogBlocks) * kViewerBytesPerColumn);
    for (int block = 0; block < blocks; ++block)
        FUZZ_CHECK(blockStartColumn(block) + kLogPlottedColumns <= columns);
    return 0;
}
