// Record rows read in place (CRecordStore behind CDataTable) against the rows the line reader
// cuts and the table holds itself: the same rows, texts and values, bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cstdio>
#include <random>
#include <unistd.h>

#include "core/CText.h"
#include "core/LineReader.h"
#include "files/FileLimits.h"
#include "files/RecordFileReader.h"
#include "files/RecordStore.h"
#include "tests/support/TempDir.h"

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

namespace {

// Rows whose fields lie on both sides of the 8-character shape read 8 bytes at once.
std::string eightCharacterFields()
{
    const char* const fields[] = {"   12.34", "-1234567",  "12345678", "+7.00000", ".1234567",
                                  "1234567.", "-.123456",  "-0.00000", "      -0", "   1.2.3",
                                  " 1 2.345", "   12e3 ",  "       -", "       .", "      +.",
                                  "  -12.5 ", "\t  12.50", "-9999999", "0.000001", "   _err ",
                                  "+-12.000", "  - 12.0",  "0000.000", "   12.5x"};
    constexpr int kCount = sizeof fields / sizeof fields[0];
    std::string content;
    for (int r = 0; r < 2 * kCount; ++r) {
        content += "2026/03/14 10:00:00#";
        for (int k = 0; k < 13; ++k)
            content += fields[(r + k) % kCount];
        content += "\r\r\n";
    }
    return content;
}

} // namespace

// The columns read as the rows are cut, added afterwards, or not held (read from the text):
// every value is fieldValue() of its text, bit for bit, whether the bytes come from memory or
// from a file read in windows (lines crossing their edges).
TEST(RecordStore, ValuesAreTheSameHowEverTheirColumnIsMade)
{
    TempDir dir;
    const std::string content = eightCharacterFields() + generatedRows(9000) +
                                std::string(600, '5') + "\n" + eightCharacterFields();
    ASSERT_GT(content.size(), std::size_t{1} << 20); // several windows of a file read
    writeFile(dir.file("rows.ivt"), content);
    const CDataTable held = heldRows(content);
    const struct {
        const char* name;
        bool file;
        CRecordStore::Columns atOnce;
    } cases[] = {
        {"memory, all at once", false, CRecordStore::kAllColumns},
        {"memory, some at once", false, 0x0412},
        {"file, one at once", true, 0x0001},
        {"file, none at once", true, 0},
    };
    for (const auto& c : cases) {
        auto store = std::make_shared<CRecordStore>();
        if (c.file)
            ASSERT_EQ(store->open(dir.file("rows.ivt")), 0) << c.name;
        else
            store->assign(content);
        ASSERT_EQ(store->buildColumns(c.atOnce), 0) << c.name;
        EXPECT_EQ(store->columns(), c.atOnce) << c.name;
        CDataTable stored;
        stored.adoptStore(store);
        expectSameRows(held, stored, c.name);
        const std::size_t before = store->memoryBytes();
        ASSERT_EQ(store->addColumns(CRecordStore::kAllColumns), 0) << c.name;
        EXPECT_EQ(store->columns(), CRecordStore::kAllColumns) << c.name;
        EXPECT_EQ(store->memoryBytes() > before, c.atOnce != CRecordStore::kAllColumns) << c.name;
        expectSameRows(held, stored, std::string(c.name) + ", then all");
    }
}

// Columns asked for after the file was cut shorter: the failure is the file's (its damage is
// what the viewer reports), and the columns held before stay.
TEST(RecordStore, ColumnsAddedAfterTheFileWasCutFailAndKeepTheOthers)
{
    TempDir dir;
    writeFile(dir.file("dump.ivt"), generatedRows(3000));
    CRecordStore store;
    ASSERT_EQ(store.open(dir.file("dump.ivt")), 0);
    ASSERT_EQ(store.buildColumns(0x0003), 0);
    const double kept = store.value(2999, 1);
    ASSERT_EQ(::truncate(dir.file("dump.ivt").c_str(), 1000), 0);
    EXPECT_EQ(store.addColumns(0x0006), EIO);
    EXPECT_TRUE(store.damaged());
    EXPECT_EQ(store.columns(), 0x0003);
    EXPECT_EQ(bits(store.value(2999, 1)), bits(kept));
}

// Extremes of stretches of rows (within a block, across blocks, a column held or read from the
// text) are what a scan of the values finds: the first row on ties, -0 equal to 0.
TEST(RecordStore, ExtremesAreThoseOfTheValues)
{
    std::string content = generatedRows(3000) + eightCharacterFields();
    for (int r = 0; r < 600; ++r) // ties, and -0 beside 0
        content += std::string("#") + (r % 3 ? "    0.00" : "   -0.00") + "   -0.00" +
                   (r % 7 ? "    1.25" : "    1.50") + "\n";
    CRecordStore store;
    store.assign(content);
    ASSERT_EQ(store.buildColumns(0x0FFF), 0); // the last column is read from the text
    const std::size_t rows = store.rowCount();
    const std::pair<std::size_t, std::size_t> stretches[] = {
        {0, 1}, {0, 128}, {100, 128}, {500, 30}, {511, 2}, {384, 1000}, {0, rows},
        {rows - 600, 600}, {rows - 599, 300}, {rows - 1, 1}};
    for (int column = 0; column < 13; ++column) {
        for (const auto& [first, count] : stretches) {
            CValueColumn::Extremes expected{store.value(first, column), store.value(first, column),
                                            first, first};
            for (std::size_t row = first + 1; row < first + count; ++row) {
                const double v = store.value(row, column);
                expected.merge({v, v, row, row});
            }
            const CValueColumn::Extremes e = store.extremes(column, first, count);
            EXPECT_EQ(bits(e.low), bits(expected.low)) << column << " " << first;
            EXPECT_EQ(bits(e.high), bits(expected.high)) << column << " " << first;
            EXPECT_EQ(e.lowRow, expected.lowRow) << column << " " << first;
            EXPECT_EQ(e.highRow, expected.highRow) << column << " " << first;
        }
    }
}
