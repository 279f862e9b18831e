// Record rows read in place (CRecordStore behind CDataTable) against the rows the line reader
// cuts and the table holds itself: the same rows, texts and values, bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cstdio>
#include <random>

#include "core/CText.h"
#include "core/LineReader.h"
#include "files/FileLimits.h"
#include "files/RecordFileReader.h"
#include "files/RecordStore.h"

namespace {

// The rows as the table holds them when it is given the lines one by one.
CDataTable heldRows(const std::string& content)
{
    CDataTable rows;
    rows.reset(CDataTable::Layout::Record);
    CLineReader reader(kLinePieceLength);
    reader.openText(content);
    std::string_view piece;
    while (reader.next(piece)) {
        const std::string_view line = ctext::trimRight(piece);
        if (!line.empty())
            addRecordLine(rows, line);
    }
    return rows;
}

std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

void expectSameRows(const CDataTable& held, const CDataTable& stored, const std::string& name)
{
    ASSERT_NE(stored.store(), nullptr) << name;
    ASSERT_EQ(stored.rowCount(), held.rowCount()) << name;
    for (std::size_t row = 0; row < held.rowCount(); ++row) {
        ASSERT_EQ(stored.dateTime(row), held.dateTime(row)) << name << " row " << row;
        for (int column = -1; column <= 13; ++column) {
            ASSERT_EQ(stored.field(row, column), held.field(row, column))
                << name << " row " << row << " column " << column;
            ASSERT_EQ(bits(stored.value(row, column)), bits(held.value(row, column)))
                << name << " row " << row << " column " << column << " '"
                << held.field(row, column) << "'";
        }
    }
}

std::string field(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Blocks of rows whose values need each way a column keeps them: all equal, small decimals,
// spans beyond 2 bytes and beyond 4 bytes, mixed fraction digits, and texts that are no plain
// decimal at all.
std::string generatedRows(int rows)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0, 1);
    const char* const odd[] = {"  1e3   ", " _ofl   ", "---- -- ", "   -0.00", "    nan ",
                               " 0x1A   ", "  12abc ", "        ", "+7.",      ".5"};
    std::string content;
    for (int r = 0; r < rows; ++r) {
        const int kind = (r / 512 + r / 700) % 6;
        content += "2026/03/14 10:00:00#";
        for (int k = 0; k < 13; ++k) {
            std::string f;
            switch ((kind + k) % 6) {
            case 0: f = "  1013.0"; break;
            case 1: f = field("%8.2f", unit(random) * 40 - 20); break;
            case 2: f = field("%8.1f", unit(random) * 9e5); break;
            case 3: f = field("%8.0f", unit(random) * 9e7 - 4e7); break;
            case 4: f = field(r % 2 ? "%8.3f" : "%8.1f", unit(random) * 10); break;
            default: f = odd[(r + k) % 10]; break;
            }
            content += f.substr(0, 8) + std::string(8 - std::min<std::size_t>(8, f.size()), ' ');
        }
        content += r % 3 ? "\r\r\n" : "\n";
    }
    return content;
}

} // namespace

TEST(RecordStore, ReadsTheRowsTextsAndValuesTheTableWouldHold)
{
    const std::string line = "2024/03/05 07:08:09#    12.5   180.0  1013.2  _err     -0.00  1e5  "
                             "   0x10  99999999  123456789012345678     2.3   340.1    21.0";
    const struct {
        const char* name;
        std::string content;
    } cases[] = {
        {"empty", ""},
        {"blank lines only", "\r\r\n  \n\t\n"},
        {"line ends", line + "\r\r\n" + line + "\r\n" + line + "\n" + line},
        {"no hash, short, long", "no hash here\n#\n" + std::string(300, 'x') + "\n" +
                                     "2024/03/05 07:08:09#    1.50"},
        {"255 and 256 characters", std::string(255, '7') + "\r\n" + std::string(254, '8') +
                                       "\r\n" + std::string(256, '9') + "\n"},
        {"bytes of any kind", std::string("a#\0\x01\xB0\xFF  12.5\r\r\n", 15) + "\t#\t1\n"},
        {"generated blocks", generatedRows(4000)},
    };
    for (const auto& c : cases) {
        CDataTable stored;
        ASSERT_EQ(readRecordText(c.content, stored), 0) << c.name;
        expectSameRows(heldRows(c.content), stored, c.name);
    }
}

TEST(RecordStore, AStoppedReadingHoldsNoRows)
{
    CRecordStore store;
    store.assign(generatedRows(100));
    CLoadControl control;
    control.abort();
    EXPECT_EQ(store.build(true, &control), ECANCELED);
    EXPECT_EQ(store.rowCount(), 0u);
    EXPECT_EQ(store.build(true), 0);
    EXPECT_EQ(store.rowCount(), 100u);
}

// Ten million rows of 20 bytes (the most rows a file's size allows), cut into parts read side
// by side: every row in its place, its value from the columns.
TEST(RecordStore, TenMillionRowsSmokeRun)
{
    std::string chunk;
    std::vector<std::string> fields;
    for (int r = 0; r < 1000; ++r) {
        fields.push_back(r == 500 ? "   _err " : field("%8.2f", r * 0.37 - 100));
        chunk += "10#" + fields.back() + "     1.5\n";
    }
    constexpr std::size_t kRows = 10'000'000;
    std::string content;
    content.reserve(chunk.size() * (kRows / 1000));
    for (std::size_t i = 0; i < kRows / 1000; ++i)
        content += chunk;
    CRecordStore store;
    store.assign(content);
    content.clear();
    content.shrink_to_fit();
    ASSERT_EQ(store.build(true), 0);
    ASSERT_EQ(store.rowCount(), kRows);
    for (std::size_t row : {std::size_t{0}, std::size_t{499}, std::size_t{500}, kRows / 2 - 1,
                            kRows / 2, kRows / 2 + 1, kRows - 1}) {
        const std::string& expected = fields[row % 1000];
        EXPECT_EQ(store.text(row), "10#" + expected + "     1.5") << row;
        EXPECT_EQ(store.dataText(row), expected + "     1.5") << row;
        EXPECT_EQ(store.dateTime(row), "10") << row;
        EXPECT_EQ(bits(store.value(row, 0)), bits(fieldValue(expected))) << row;
        EXPECT_EQ(store.value(row, 1), 1.5) << row;
        EXPECT_EQ(store.value(row, 2), 0) << row;
    }
    std::vector<double> column(kRows);
    store.values(0, 0, kRows, column.data());
    for (std::size_t row = 0; row < kRows; row += 9973)
        ASSERT_EQ(bits(column[row]), bits(fieldValue(fields[row % 1000]))) << row;
}
