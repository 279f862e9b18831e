// Log files (.lvt) as the log viewer and ventora-convert read them.
#include <cstdint>
#include <string_view>

#include "files/FileLimits.h"
#include "files/LogFileReader.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/TableChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CDataTable rows;
    const int result = readLogText(bytes, rows);
    FUZZ_CHECK(result == 0 || result == kTooManyBlocks);
    FUZZ_CHECK(rows.blockCount() <= kMaxLogBlocks);
    FUZZ_CHECK(rows.rowCount() <= size);
    if (result != 0)
        FUZZ_CHECK(rows.rowCount() == 0 && rows.blockCount() == 0);
    checkTable(rows);
    return 0;
}
