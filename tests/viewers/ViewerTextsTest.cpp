// The viewers' texts: Copy Table byte for byte, column titles and widths, Graph Settings boxes.
#include <gtest/gtest.h>

#include <string>

#include "files/RecordFileReader.h"
#include "viewers/CopyTable.h"
#include "viewers/GraphSettings.h"
#include "viewers/ViewerColumns.h"

namespace {

const std::string kStamp = "2026/03/14 10:20:30";
const std::string kFields = "    1.00   220.5  _ofl      6.32    69.9   2.509    1.85    2.17"
                            "   -0.12    2.85    -0.4 ---- --    6.10";

CDataTable recordRows(std::initializer_list<std::string> lines)
{
    CDataTable rows;
    rows.reset(CDataTable::Layout::Record);
    for (const std::string& line : lines)
        addRecordLine(rows, line);
    return rows;
}

} // namespace

TEST(CopyTable, RecordRowsJoinTheDisplayedCellsWithNoSeparator)
{
    const CDataTable rows = recordRows({
        kStamp + "#" + kFields,
        // No "#": no date-time, fields cut from the first character, the rest empty.
        "    1.50    2.50",
        // A 13th field running on to the end of the line is copied whole.
        kStamp + "#" + kFields + "123456",
    });
    const std::string markedRow = "    1.00   220.5---  --    6.32    69.9   2.509    1.85"
                                  "    2.17   -0.12    2.85    -0.4---  --    6.10";
    EXPECT_EQ(recordTableText(rows), kStamp + markedRow + "\r\n" + "    1.50    2.50\r\n" + kStamp +
                                         markedRow + "123456\r\n");
    EXPECT_EQ(recordTableText(recordRows({})), "");
}

TEST(CopyTable, LogRowsJoinColumnsZeroToThirteenWithTabs)
{
    CDataTable rows;
    rows.reset(CDataTable::Layout::Log, 2);
    rows.addRow("2026/05/02 10:00:00");
    rows.addDataLine(kFields);
    rows.addDataLine("   99.99   99.99"); // the second block is not copied
    rows.addRow("2026/05/02 10:01:00");
    rows.addDataLine("    7.00  _err  "); // a short line leaves empty cells

    std::string first = "2026/05/02 10:00:00";
    for (std::size_t k = 0; k < 13; ++k)
        first += "\t" + kFields.substr(k * 8, 8); // markers as they are
    EXPECT_EQ(logTableText(rows),
              first + "\r\n2026/05/02 10:01:00\t    7.00\t  _err  \t\t\t\t\t\t\t\t\t\t\t\r\n");
}

TEST(ViewerColumns, RecordTitlesCarryTheUnitsAndFixedWidths)
{
    Unit unit;
    unit.setSpeedUnit("m/s");
    const std::string expected[kRecordColumnCount] = {"Date Time",
                                                      "SoW m/s",
                                                      "Azimuth \xB0",
                                                      "Pressure mbar",
                                                      "Temperature \xB0"
                                                      "C",
                                                      "Humidity %",
                                                      "Ain4 ",
                                                      "U m/s",
                                                      "V m/s",
                                                      "W m/s",
                                                      "U-V m/s",
                                                      "Elevation \xB0",
                                                      "SoS m/s",
                                                      "T.Sonic \xB0"
                                                      "C"};
    for (int column = 0; column < kRecordColumnCount; ++column) {
        EXPECT_EQ(recordColumnTitle(column, unit), expected[column]) << column;
        EXPECT_EQ(recordColumnWidth(column), column == 0 ? 140 : 100) << column;
    }
    EXPECT_EQ(recordDataTitles(unit).size(), 13u);
    EXPECT_EQ(recordDataTitles(unit).front(), "SoW m/s");
}

TEST(ViewerColumns, LogBlocksAfterTheFirstAreTitledWithTheLogNames)
{
    Unit unit;
    struct Row {
        int column;
        const char* title;
        int width;
    };
    const Row rows[] = {
        {0, "Date Time", 150},
        {1, "SoW ", 80},
        {3, "Pressure mbar", 80},
        {12, "SoS ", 150},
        {13,
         "T.Sonic \xB0"
         "C",
         80},
        {14, " (SoW)", 80},
        {16, " (Ain1)", 80},
        {17, " (Ain2)", 80},
        {18, " (Ain3)", 80},
        {23, " (vv_UV)", 80},
        {25, "VA7310 (SoS)", 150},
        {26, " (T.Sonic)", 80},
        {38, "VA7310 (SoS)", 150},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(logColumnTitle(row.column, unit), row.title) << row.column;
        EXPECT_EQ(logColumnWidth(row.column), row.width) << row.column;
    }
    EXPECT_EQ(logColumnCount(3), 40);
    EXPECT_EQ(logColumnCount(0), 1);
    const auto titles = logDataTitles(3, unit);
    ASSERT_EQ(titles.size(), 39u);
    EXPECT_EQ(titles[12], "T.Sonic \xB0"
                          "C");
    EXPECT_EQ(titles[13], " (SoW)");
    EXPECT_TRUE(logDataTitles(0, unit).empty());

    std::vector<int> bitmaps = initialHeaderBitmaps(27);
    EXPECT_EQ(bitmaps[0], -1);
    for (int column = 1; column <= 13; ++column)
        EXPECT_EQ(bitmaps[static_cast<std::size_t>(column)], column - 1);
    for (int column = 14; column < 27; ++column)
        EXPECT_EQ(bitmaps[static_cast<std::size_t>(column)], -1);
    EXPECT_EQ(initialHeaderBitmaps(1), std::vector<int>{-1}); // a log file without blocks
}

TEST(GraphSettings, BoxesStartFromTheFlagsWithTheViewersCaptions)
{
    const std::vector<std::uint8_t> flags = {0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0};
    const CGraphSettingBoxes record = graphSettingBoxes(flags, &kRecordGraphCaptions, 13);
    EXPECT_EQ(record.captions, (std::array<std::string, 13>{
                                   "SoW", "Azimuth", "Pressure", "Temperature", "Humidity", "Ain4",
                                   "U", "V", "W", "Spd U-V", "Elevation", "SoS", "T.Sonic"}));
    for (std::size_t k = 0; k < 13; ++k) {
        EXPECT_EQ(record.checked[k], flags[k] != 0) << k;
        EXPECT_TRUE(record.enabled[k]) << k;
    }

    // No captions: the three boxes stay empty; boxes past the five series are disabled; a
    // short flag list counts as off.
    const CGraphSettingBoxes log = graphSettingBoxes({1, 1, 1}, nullptr, 5);
    EXPECT_EQ(log.captions[1], "Azimuth");
    EXPECT_EQ(log.captions[2], "");
    EXPECT_EQ(log.captions[3], "");
    EXPECT_EQ(log.captions[4], "");
    EXPECT_EQ(log.captions[5], "Ain4");
    for (std::size_t k = 0; k < 13; ++k) {
        EXPECT_EQ(log.checked[k], k < 3) << k;
        EXPECT_EQ(log.enabled[k], k < 5) << k;
    }
}

TEST(GraphSettings, FlagsTakeTheBoxesOnlyWhenAccepted)
{
    CGraphSettingBoxes boxes = graphSettingBoxes({}, &kRecordGraphCaptions, 13);
    boxes.checked.fill(true);
    std::vector<std::uint8_t> flags = {0, 1, 0};
    applyGraphSettingBoxes(false, boxes, flags);
    EXPECT_EQ(flags, (std::vector<std::uint8_t>{0, 1, 0}));
    applyGraphSettingBoxes(true, boxes, flags);
    EXPECT_EQ(flags, std::vector<std::uint8_t>(13, 1));
}
