#include <gtest/gtest.h>

#include <random>

#include "files/DataTable.h"

namespace {

// The cutting rule of a record line written out plainly, to check the compact table against.
CDataItem referenceRecordRow(const std::string& line)
{
    CDataItem item;
    std::size_t hash = line.find('#');
    std::size_t start = hash == std::string::npos ? 0 : hash + 1;
    item.dateTime = hash == std::string::npos ? "" : line.substr(0, hash);
    for (std::size_t k = 0; k < 13; ++k) {
        std::size_t begin = start + 8 * k;
        std::string field;
        if (begin < line.size())
            field = line.substr(begin, k == 12 ? std::string::npos : 8);
        item.fields.push_back(field);
    }
    return item;
}

} // namespace

TEST(DataTable, RecordRowsGiveBackEveryTextExactly)
{
    std::mt19937 random(3);
    std::uniform_int_distribution<int> length(0, 255), character(32, 126);
    std::vector<std::string> lines;
    CDataTable table;
    table.reset(CDataTable::Layout::Record);
    for (int i = 0; i < 5000; ++i) {
        std::string line;
        for (int n = length(random); n > 0; --n)
            line += static_cast<char>(character(random));
        lines.push_back(line);
        std::size_t hash = line.find('#');
        table.addRow(hash == std::string::npos ? "" : std::string_view(line).substr(0, hash));
        table.addDataLine(hash == std::string::npos ? std::string_view(line)
                                                    : std::string_view(line).substr(hash + 1));
    }
    ASSERT_EQ(table.rowCount(), lines.size());
    EXPECT_EQ(table.columnCount(), 13);
    for (std::size_t row = 0; row < lines.size(); ++row)
        ASSERT_EQ(table.item(row), referenceRecordRow(lines[row])) << lines[row];
}

TEST(DataTable, LogRowsHoldOneLineOfThirteenFieldsPerBlock)
{
    CDataTable table;
    table.reset(CDataTable::Layout::Log, 2);
    std::string first(104, 'a');
    std::string second = std::string(96, 'b') + "12345678" + "EXTRA"; // beyond 104: not a field
    table.addRow("2024/01/01 10:00:00");
    table.addDataLine(first);
    table.addDataLine(second);
    table.addDataLine("dropped: the table has two blocks");
    table.addRow("2024/01/01 10:01:00");
    table.addDataLine("  1.5   ");

    ASSERT_EQ(table.rowCount(), 2u);
    EXPECT_EQ(table.columnCount(), 26);
    EXPECT_EQ(table.field(0, 0), "aaaaaaaa");
    EXPECT_EQ(table.field(0, 13), "bbbbbbbb");
    EXPECT_EQ(table.field(0, 25), "12345678");
    EXPECT_EQ(table.dateTime(1), "2024/01/01 10:01:00");
    EXPECT_EQ(table.field(1, 0), "  1.5   ");
    EXPECT_EQ(table.value(1, 0), 1.5);
    // The second record has no second line: its cells are empty, and read as 0.
    EXPECT_EQ(table.field(1, 13), "");
    EXPECT_EQ(table.value(1, 13), 0);
    CDataItem item = table.item(1);
    EXPECT_EQ(item.fields.size(), 26u);
}

TEST(DataTable, OutOfRangeCellsAreEmptyAndResetEmpties)
{
    CDataTable table;
    table.reset(CDataTable::Layout::Record);
    table.addDataLine("ignored: no row yet");
    table.addRow("only a date");
    EXPECT_EQ(table.rowCount(), 1u);
    EXPECT_EQ(table.field(0, 0), "");
    EXPECT_EQ(table.field(0, -1), "");
    EXPECT_EQ(table.field(0, 13), "");
    EXPECT_EQ(table.field(5, 0), "");
    EXPECT_EQ(table.dateTime(5), "");

    table.reset(CDataTable::Layout::Log, 0);
    table.addRow("x");
    table.addDataLine("no blocks: dropped");
    EXPECT_EQ(table.columnCount(), 0);
    EXPECT_EQ(table.item(0).fields.size(), 0u);
    table.reset(CDataTable::Layout::Record);
    EXPECT_EQ(table.rowCount(), 0u);
}

TEST(DataTable, DataItemFromAReceivedDataText)
{
    std::string text = "    12.5   180.0  _err  ";
    CDataItem item = CDataItem::fromDataText("12:00:00 2024/01/01", text);
    ASSERT_EQ(item.fields.size(), 13u);
    EXPECT_EQ(item.fields[0], "    12.5");
    EXPECT_EQ(item.fields[2], "  _err  ");
    EXPECT_EQ(item.fields[3], "");
}
