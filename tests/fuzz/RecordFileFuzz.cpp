// Record files (.ivt) as the record viewer and ventora-convert read them.
#include <cstdint>
#include <string_view>

#include "files/FileLimits.h"
#include "files/RecordFileReader.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/TableChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CDataTable rows;
    const int result = readRecordText(bytes, rows);
    FUZZ_CHECK(result == 0 || result == kTooManyRows);
    FUZZ_CHECK(rows.blockCount() == 1);
    FUZZ_CHECK(recordRowsWithinLimit(rows.rowCount(), size));
    if (result != 0)
        FUZZ_CHECK(rows.rowCount() == 0);
    checkTable(rows);
    return 0;
}
