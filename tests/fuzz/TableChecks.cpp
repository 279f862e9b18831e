#include "tests/fuzz/TableChecks.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "files/CsvWriter.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// Counts the records of a CSV text and checks that each has the given number of values:
// quoted values may hold commas, quotes (doubled) and line breaks.
std::size_t csvRecords(const std::string& csv, std::size_t valuesPerRecord)
{
    std::size_t records = 0, values = 1;
    bool quoted = false;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < csv.size() && csv[i + 1] == '"')
                    ++i;
                else
                    quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            ++values;
        } else if (c == '\n') {
            FUZZ_CHECK(values == valuesPerRecord);
            ++records;
            values = 1;
        }
    }
    FUZZ_CHECK(!quoted);
    FUZZ_CHECK(csv.empty() || csv.back() == '\n');
    return records;
}

} // namespace

void checkTable(const CDataTable& rows)
{
    const int columns = rows.columnCount();
    FUZZ_CHECK(columns == rows.blockCount() * CDataTable::kFieldsPerBlock);
    for (std::size_t row = 0; row < rows.rowCount(); ++row) {
        for (int column = 0; column < columns; ++column) {
            const std::string_view field = rows.field(row, column);
            const bool lastOfRecord = rows.layout() == CDataTable::Layout::Record &&
                                      column == CDataTable::kFieldsPerBlock - 1;
            FUZZ_CHECK(lastOfRecord || field.size() <= kFieldWidth);
            const double value = rows.value(row, column);
            FUZZ_CHECK(std::isfinite(value));
            // Values kept in columns are the very doubles the text reads as.
            FUZZ_CHECK(std::bit_cast<std::uint64_t>(value) ==
                       std::bit_cast<std::uint64_t>(fieldValue(field)));
            FUZZ_CHECK(!displayField(field).empty() || field.empty());
        }
        FUZZ_CHECK(rows.item(row).fields.size() == static_cast<std::size_t>(columns));
    }
    FUZZ_CHECK(rows.field(rows.rowCount(), 0).empty());
    FUZZ_CHECK(rows.field(0, columns).empty());

    char* text = nullptr;
    std::size_t length = 0;
    std::FILE* out = open_memstream(&text, &length);
    FUZZ_CHECK(out != nullptr);
    FUZZ_CHECK(writeCsv(rows, csvFieldTitles(rows), out) == 0);
    std::fclose(out);
    const std::string csv(text, length);
    std::free(text);
    FUZZ_CHECK(csvRecords(csv, 2 + static_cast<std::size_t>(columns)) == rows.rowCount() + 1);
}
