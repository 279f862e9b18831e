// Record files (.ivt) as the record viewer and ventora-convert read them.
#include <cstdint>
#include <string_view>

#include "files/RecordFileReader.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/fuzz/TableChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CDataTable rows;
    FUZZ_CHECK(readRecordText(bytes, rows) == 0);
    FUZZ_CHECK(rows.blockCount() == 1);
    FUZZ_CHECK(rows.rowCount() <= size);
    checkTable(rows);
    return 0;
}
