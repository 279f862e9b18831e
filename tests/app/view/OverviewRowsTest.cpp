#include <gtest/gtest.h>

#include <string>

#include "app/view/OverviewRows.h"

namespace {

// A 104-character data text whose k-th field is "F<k>" padded to eight characters.
std::string dataText(int fields = 13, int seed = 0)
{
    std::string text;
    for (int k = 1; k <= fields; ++k) {
        std::string field = std::to_string(seed) + ":" + std::to_string(k);
        field.resize(8, ' ');
        text += field;
    }
    return text;
}

} // namespace

TEST(COverviewRows, DataTextIsCutIntoEightCharacterFields)
{
    struct Row {
        std::string data;
        int filled; // columns 1..filled hold fields
    };
    const Row rows[] = {
        {dataText(13), 13},
        {dataText(13).substr(0, 100), 12}, // column 13 stays empty
        {dataText(13) + "extra", 13},      // a remainder after 13 fields is ignored
        {dataText(13) + dataText(2), 13},
        {"1234567", 0},
        {"", 0},
        {"12345678", 1},
    };
    for (const Row& row : rows) {
        COverviewRows store;
        const std::size_t index = store.appendDataRow("12:00:00 2026/12/07", row.data);
        EXPECT_EQ(store.cell(index, 0), "12:00:00 2026/12/07");
        for (int column = 1; column <= 14; ++column) {
            const std::string expected =
                column <= row.filled ? row.data.substr((column - 1) * 8, 8) : std::string();
            EXPECT_EQ(store.cell(index, column), expected) << row.data << " column " << column;
        }
    }
}

TEST(COverviewRows, CellsAreSetReadAndPaddedPerRow)
{
    COverviewRows store;
    EXPECT_EQ(store.appendRow("first"), 0u);
    EXPECT_EQ(store.appendRow("second"), 1u);
    EXPECT_TRUE(store.setCell(0, 5, "five"));
    EXPECT_EQ(store.cell(0, 0), "first");
    EXPECT_EQ(store.cell(0, 3), "");
    EXPECT_EQ(store.cell(0, 5), "five");
    EXPECT_EQ(store.cell(1, 0), "second");
    EXPECT_TRUE(store.setCell(0, 0, ""));
    EXPECT_EQ(store.cell(0, 0), "");
    EXPECT_EQ(store.cell(0, 5), "five");

    // Out of range: nothing happens, reads are empty.
    EXPECT_FALSE(store.setCell(2, 0, "x"));
    EXPECT_FALSE(store.setCell(0, -1, "x"));
    EXPECT_FALSE(store.setCell(0, COverviewRows::kMaxColumns, "x"));
    EXPECT_EQ(store.cell(2, 0), "");
    EXPECT_EQ(store.cell(0, -1), "");
    EXPECT_EQ(store.cell(0, 200), "");
    EXPECT_EQ(store.rowCount(), 2u);

    // Any bytes, any length (lengths above 127 take two bytes in the encoding).
    const std::string binary("a\0b\xB0\xFF", 5);
    const std::string longText(70000, 'x');
    EXPECT_TRUE(store.setCell(1, 1, binary));
    EXPECT_TRUE(store.setCell(1, 2, longText));
    EXPECT_EQ(store.cell(1, 1), binary);
    EXPECT_EQ(store.cell(1, 2), longText);
    EXPECT_EQ(store.cell(1, 0), "second");
}

TEST(COverviewRows, OlderRowsSurviveRewritesAndAliasing)
{
    COverviewRows store;
    for (int i = 0; i < 50; ++i)
        store.appendDataRow("t" + std::to_string(i), dataText(13, i));
    // The dialogue's prompt row is an older row: it grows character by character.
    const std::size_t prompt = store.rowCount() - 4;
    std::string expected = store.cell(prompt, 0);
    for (char c : std::string("1234")) {
        store.setCell(prompt, 0, store.cell(prompt, 0) + c);
        expected += c;
    }
    EXPECT_EQ(store.cell(prompt, 0), expected);
    EXPECT_EQ(store.cell(prompt, 13), dataText(13, 46).substr(96, 8));
    // Text that points into the store itself is copied before the row moves.
    store.setCell(3, 1, store.cellView(3, 2));
    EXPECT_EQ(store.cell(3, 1), dataText(13, 3).substr(8, 8));
    for (int i = 0; i < 50; ++i) {
        if (static_cast<std::size_t>(i) != prompt && i != 3) {
            ASSERT_EQ(store.cell(i, 0), "t" + std::to_string(i));
            ASSERT_EQ(store.cell(i, 7), dataText(13, i).substr(48, 8));
        }
    }
}

TEST(COverviewRows, FillingTheNewestRowCellByCellCostsNoMoreThanAppendingItWhole)
{
    // The protocol appends the time stamp and then sets the thirteen fields one by one.
    COverviewRows whole;
    COverviewRows byCell;
    const int rows = 20000;
    for (int i = 0; i < rows; ++i) {
        const std::string data = dataText(13, i);
        whole.appendDataRow("12:00:00 2026/12/07", data);
        const std::size_t row = byCell.appendRow("12:00:00 2026/12/07");
        for (int k = 0; k < 13; ++k)
            byCell.setCell(row, k + 1, std::string_view(data).substr(k * 8, 8));
    }
    EXPECT_EQ(byCell.memoryUsage(), whole.memoryUsage());
    for (int i = 0; i < rows; i += 997)
        for (int column = 0; column < 14; ++column)
            ASSERT_EQ(byCell.cell(i, column), whole.cell(i, column));
}

TEST(COverviewRows, AWeekOfSamplesStaysWithinTheBudget)
{
    COverviewRows store;
    const std::size_t week = 604800;
    std::string time = "12:00:00 2026/12/07 ";
    for (std::size_t i = 0; i < week; ++i) {
        const std::string data = dataText(13, static_cast<int>(i % 1000));
        ASSERT_EQ(store.appendDataRow(time, data), i);
    }
    EXPECT_EQ(store.rowCount(), week);
    EXPECT_LE(store.memoryUsage() / week, 200u);
    EXPECT_LT(store.memoryUsage(), 150u * 1000 * 1000);
    for (std::size_t i = 0; i < week; i += 65537) {
        ASSERT_EQ(store.cell(i, 0), time);
        ASSERT_EQ(store.cell(i, 13), dataText(13, static_cast<int>(i % 1000)).substr(96, 8));
    }
    EXPECT_EQ(store.cell(week - 1, 1), dataText(13, (week - 1) % 1000).substr(0, 8));

    store.clear();
    EXPECT_EQ(store.rowCount(), 0u);
    EXPECT_LT(store.memoryUsage(), 4096u);
    EXPECT_EQ(store.cell(0, 0), "");
    EXPECT_EQ(store.appendRow("again"), 0u);
    EXPECT_EQ(store.cell(0, 0), "again");
}
