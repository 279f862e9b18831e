// The list printer's page arithmetic and layout, from tables of measurements.
#include <gtest/gtest.h>

#include "print/ColumnScan.h"
#include "print/ListPageLayout.h"
#include "print/PrintResult.h"

namespace {

// A4 at 300 dpi less the printer's margins, fonts of 10 screen pixels scaled and measured.
ListPrintMetrics a4()
{
    ListPrintMetrics m;
    m.pageWidth = 2408;
    m.pageHeight = 3425;
    m.titleHeight = 36;
    m.footerHeight = 36;
    m.bodyHeight = 36;
    m.xWidth = 21;
    return m;
}

CPrintListSettings viewerSettings()
{
    CPrintListSettings s;
    s.leftMargin = 150;
    s.topMargin = 150;
    s.bodyFontSize = 60;
    return s;
}

TEST(PrintText, FontHeightsScaleByResolutionAndTextsKeepTheirLayouts)
{
    struct Case {
        int screen, printerDpi, screenDpi, expected;
    } cases[] = {
        {10, 300, 96, 31}, {10, 600, 96, 63}, {10, 96, 96, 10}, {10, 300, 0, 31}, {0, 300, 96, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scaleFontHeight(c.screen, c.printerDpi, c.screenDpi), c.expected)
            << c.screen << " px at " << c.printerDpi << "/" << c.screenDpi;

    EXPECT_EQ(pageNumberText(1), "Page : 1");
    EXPECT_EQ(pageNumberText(1234), "Page : 1234");
    std::tm time{};
    time.tm_year = 2026 - 1900;
    time.tm_mon = 2;
    time.tm_mday = 4;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_sec = 7;
    EXPECT_EQ(printDateTimeText(time), "2026/03/04  09:05:07");
}

TEST(ColumnScan, WidthIsTheLongestTextPlusOneTimesX)
{
    struct Case {
        const char* name;
        std::string title;
        std::vector<std::string> cells;
        bool shown;
        int expectedWidth;
    } cases[] = {
        {"title longest",
         "Temperature \xB0"
         "C",
         {"    6.32", "   -0.12"},
         true,
         15 * 10},
        {"a cell longer than its title", "SoW", {"    2.85", "---  --", "  12.5"}, true, 9 * 10},
        {"scan stops at COMMENTS",
         "Note",
         {"ab", "COMMENTS follow", "a much longer text"},
         true,
         5 * 10},
        {"COMMENTS in the first cell",
         "Date Time",
         {"xx COMMENTS", "2026/03/14 00:00:00"},
         true,
         10 * 10},
        {"hidden on screen", "Secret", {"a very long hidden text"}, false, 0},
        {"no rows", "U m/s", {}, true, 6 * 10},
    };
    for (const Case& c : cases) {
        CColumnScan scan(c.title);
        for (const std::string& cell : c.cells)
            if (!scan.add(cell))
                break;
        EXPECT_EQ(scan.printWidth(10, c.shown), c.expectedWidth) << c.name;
    }
}

TEST(ListPageLayout, RowsPerPageCountEverythingAboveTheRowsAndPagesEndWithARemainder)
{
    struct Case {
        const char* name;
        bool header, footer;
        int pageHeight;
        int expectedRowsPerPage;
    } cases[] = {
        // 150 margin + 164 header + 42 title row + 10 band = 366; footer takes 36 + 14.
        {"header and footer", true, true, 3425, (3425 - 50 - 366) / 42},
        {"no header", false, false, 3425, (3425 - 202) / 42},
        {"no footer", true, false, 3425, (3425 - 366) / 42},
        {"short page", true, true, 500, (500 - 50 - 366) / 42},
    };
    for (const Case& c : cases) {
        CPrintListSettings settings = viewerSettings();
        settings.printHeader = c.header;
        settings.printFooter = c.footer;
        ListPrintMetrics metrics = a4();
        metrics.pageHeight = c.pageHeight;
        CListPageLayout layout;
        ASSERT_EQ(layout.setUp(settings, metrics, {420, 300}, {}, 1000), kPrintOk) << c.name;
        const int rows = layout.rowsPerPage();
        EXPECT_EQ(rows, c.expectedRowsPerPage) << c.name;
        // Every row of a full page ends above the footer, and one more would not.
        EXPECT_LE(layout.rowTop(rows - 1) + layout.lineHeight(), layout.rowLimit()) << c.name;
        EXPECT_GT(layout.rowTop(rows) + layout.lineHeight(), layout.rowLimit()) << c.name;
        EXPECT_GE(layout.rowTop(0), layout.thickLine().bottom) << c.name;
        if (c.footer) {
            EXPECT_LE(layout.rowLimit(), layout.footerFrame().top) << c.name;
        }
        if (c.header) {
            EXPECT_LE(layout.lowerLine().bottom, layout.headerFrame().bottom) << c.name;
        }
    }

    CListPageLayout layout;
    ASSERT_EQ(layout.setUp(viewerSettings(), a4(), {420}, {}, 0), kPrintOk);
    const int perPage = layout.rowsPerPage();
    struct Count {
        int rows, pages;
    } counts[] = {{0, 1},       {1, 1},           {perPage - 1, 1},
                  {perPage, 2}, {perPage + 1, 2}, {2 * perPage, 3}};
    for (const Count& c : counts) {
        layout.setUp(viewerSettings(), a4(), {420}, {}, c.rows);
        EXPECT_EQ(layout.pageCount(), c.pages) << c.rows << " rows";
        int printed = 0;
        for (int page = 1; page <= layout.pageCount(); ++page) {
            const auto [first, end] = layout.pageRows(page);
            EXPECT_EQ(first, std::min(c.rows, (page - 1) * perPage)) << c.rows << " page " << page;
            printed += end - first;
        }
        EXPECT_EQ(printed, c.rows);
    }
    // One page of rows: the second page is there, and empty.
    layout.setUp(viewerSettings(), a4(), {420}, {}, perPage);
    EXPECT_EQ(layout.pageRows(2), std::make_pair(perPage, perPage));
}

TEST(ListPageLayout, ColumnsFollowTheMarginSkipZeroWidthsAndStopAtThePageWidth)
{
    const std::vector<int> widths{420, 0, 300, 300, 900, 100};
    const std::vector<PrintAlign> aligns{PrintAlign::Left,   PrintAlign::Left, PrintAlign::Right,
                                         PrintAlign::Centre, PrintAlign::Left, PrintAlign::Right};
    struct Case {
        const char* name;
        int pageWidth;
        bool clip;
        std::vector<PrintedColumn> expected;
    } cases[] = {
        {"all fit",
         2408,
         true,
         {{0, 150, 570, PrintAlign::Left},
          {2, 570, 870, PrintAlign::Right},
          {3, 870, 1170, PrintAlign::Centre},
          {4, 1170, 2070, PrintAlign::Left},
          {5, 2070, 2170, PrintAlign::Right}}},
        // The page ends at 1650: column 4 and everything after it is left out, even column 5,
        // which alone would fit.
        {"clipped",
         1800,
         true,
         {{0, 150, 570, PrintAlign::Left},
          {2, 570, 870, PrintAlign::Right},
          {3, 870, 1170, PrintAlign::Centre}}},
        {"clipping off",
         1800,
         false,
         {{0, 150, 570, PrintAlign::Left},
          {2, 570, 870, PrintAlign::Right},
          {3, 870, 1170, PrintAlign::Centre},
          {4, 1170, 2070, PrintAlign::Left},
          {5, 2070, 2170, PrintAlign::Right}}},
    };
    for (const Case& c : cases) {
        CPrintListSettings settings = viewerSettings();
        settings.clipColumns = c.clip;
        ListPrintMetrics metrics = a4();
        metrics.pageWidth = c.pageWidth;
        CListPageLayout layout;
        ASSERT_EQ(layout.setUp(settings, metrics, widths, aligns, 10), kPrintOk) << c.name;
        EXPECT_EQ(layout.columns(), c.expected) << c.name;
    }

    CListPageLayout layout;
    layout.setUp(viewerSettings(), a4(), widths, aligns, 10);
    EXPECT_EQ(layout.separators(), (std::vector<int>{570, 870, 1170, 2070}));
    const PrintRect cell = layout.cellText(layout.columns()[1], 400);
    EXPECT_EQ(cell, (PrintRect{574, 400, 866, 442}));
}

TEST(ListPageLayout, PagesThatHoldNoRowOrNoColumnAreRefused)
{
    struct Case {
        const char* name;
        int pageWidth, pageHeight;
        std::vector<int> widths;
        int expected;
    } cases[] = {
        {"fits", 2408, 3425, {420}, kPrintOk},
        {"no row fits", 2408, 400, {420}, kPrintPageTooSmall},
        {"no column fits", 600, 3425, {420}, kPrintPageTooSmall},
        {"nothing shown, nothing to fit", 600, 3425, {0, 0}, kPrintOk},
        {"no columns at all", 2408, 3425, {}, kPrintOk},
    };
    for (const Case& c : cases) {
        ListPrintMetrics metrics = a4();
        metrics.pageWidth = c.pageWidth;
        metrics.pageHeight = c.pageHeight;
        CListPageLayout layout;
        EXPECT_EQ(layout.setUp(viewerSettings(), metrics, c.widths, {}, 5), c.expected) << c.name;
        EXPECT_GE(layout.rowsPerPage(), 1) << c.name;
    }
}

TEST(ListPageLayout, HeaderLinesCarryPageAndDateWithTheFooterOffElseTheCustomTexts)
{
    struct Case {
        const char* name;
        bool footer, custom;
        std::string upper, lower;
        PrintAlign upperAlign, lowerAlign;
    } cases[] = {
        {"footer off", false, false, "Page : 3", "2026/03/14  10:00:00", PrintAlign::Right,
         PrintAlign::Right},
        {"footer off wins over custom texts", false, true, "Page : 3", "2026/03/14  10:00:00",
         PrintAlign::Right, PrintAlign::Right},
        {"footer on: title only", true, false, "", "", PrintAlign::Right, PrintAlign::Right},
        {"footer on, custom texts", true, true, "Station 4", "Calibrated", PrintAlign::Left,
         PrintAlign::Centre},
    };
    for (const Case& c : cases) {
        CPrintListSettings settings = viewerSettings();
        settings.printFooter = c.footer;
        settings.useHeaderTexts = c.custom;
        settings.upperHeaderText = "Station 4";
        settings.lowerHeaderText = "Calibrated";
        settings.upperHeaderAlign = PrintAlign::Left;
        settings.lowerHeaderAlign = PrintAlign::Centre;
        CListPageLayout layout;
        layout.setUp(settings, a4(), {420}, {}, 10);
        const auto [upper, lower] = layout.headerLines(3, "2026/03/14  10:00:00");
        EXPECT_EQ(upper.text, c.upper) << c.name;
        EXPECT_EQ(lower.text, c.lower) << c.name;
        EXPECT_EQ(upper.align, c.upperAlign) << c.name;
        EXPECT_EQ(lower.align, c.lowerAlign) << c.name;
    }
}

} // namespace
