// The Print button's flow, the choice dialog and the graph page.
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTableView>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include "PrintTestSupport.h"
#include "chart/GraphWnd.h"
#include "core/Channels.h"
#include "print/GraphPage.h"
#include "print/GraphPageLayout.h"
#include "print/SelDocToPrintDlg.h"
#include "print/ViewerPrint.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

namespace {

TEST(SelDocToPrintDlg, OffersATitleAndTheTableFirst)
{
    CSelDocToPrintDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Skyvane"));
    EXPECT_EQ(dialog.title(), QStringLiteral("Title"));
    EXPECT_EQ(dialog.selection(), CSelDocToPrintDlg::kPrintTable);
    EXPECT_EQ(dialog.tableButton()->text(), QStringLiteral("Print Table"));
    EXPECT_EQ(dialog.graphButton()->text(), QStringLiteral("Print Graph"));
    dialog.graphButton()->setChecked(true);
    dialog.titleEdit()->setText(QStringLiteral("Mast 2, March"));
    EXPECT_EQ(dialog.selection(), CSelDocToPrintDlg::kPrintGraph);
    EXPECT_EQ(dialog.title(), QStringLiteral("Mast 2, March"));
}

// A graph like the log viewer's: five series in colours of their own.
void fillGraph(CGraphWnd& graph)
{
    const unsigned colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xBEBE00, 0x00FFFF};
    for (unsigned colour : colours) {
        const int s = graph.addSeries(colour, "Channel");
        for (int i = 0; i < 50; ++i)
            graph.addPoint(s, i, (i * 7 + static_cast<int>(colour % 13)) % 20, false);
    }
    graph.zoomReset();
}

class ViewerPrintFlow : public ::testing::Test {
protected:
    ViewerPrintFlow() : clock(2026, 3, 14, 8, 0, 0), model(numberedTable(20, 3))
    {
        dialogs.pdfPath = pdf;
        view.setModel(model.get());
        fillGraph(graph);
    }
    void print() { CViewerPrint(messages, dialogs, clock).print(nullptr, view, graph); }

    TempDir dir;
    const QString pdf = QString::fromStdString(dir.file("out.pdf"));
    CFixedClock clock;
    CScriptedMessageBox messages;
    CScriptedPrintDialogs dialogs;
    std::unique_ptr<TableModel> model;
    QTableView view;
    CGraphWnd graph{32};
};

TEST_F(ViewerPrintFlow, CancelInEitherDialogPrintsNothing)
{
    dialogs.chooseAnswer = false;
    print();
    EXPECT_EQ(dialogs.printerCalls, 0);
    dialogs.chooseAnswer = true;
    dialogs.printerAnswer = false;
    print();
    EXPECT_EQ(dialogs.printerCalls, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf.toStdString()));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ViewerPrintFlow, TheGraphPrintsOnOnePageWithTitleAndTheThirteenChannelLegend)
{
    dialogs.choice = {QStringLiteral("Mast 2 wind"), true};
    print();
    ASSERT_TRUE(messages.shown().empty());
    ASSERT_EQ(pdfPageCount(pdf), 1);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Mast 2 wind")));
    EXPECT_TRUE(text.contains(QStringLiteral("Legend :")));
    for (int i = 0; i < kChannelCount; ++i)
        EXPECT_TRUE(text.contains(QString::fromLatin1(channelName(i)))) << channelName(i);
    EXPECT_FALSE(text.contains(QStringLiteral("r0c0"))); // not the table
}

TEST_F(ViewerPrintFlow, LegendBoxesShowTheChannelColoursNotTheGraphsSeries)
{
    for (const QSize size : {QSize(827, 1169), QSize(1169, 827)}) { // A4 at 100 dpi, both ways
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        ASSERT_TRUE(drawGraphPage(painter, size, graph, QStringLiteral("Colours")));
        painter.end();
        const GraphPageLayout layout = graphPageLayout(size.width(), size.height());
        for (int i = 0; i < kChannelCount; ++i) {
            const PrintRect& box = layout.channelBox[static_cast<std::size_t>(i)];
            const QPoint centre((box.left + box.right) / 2, (box.top + box.bottom) / 2);
            EXPECT_EQ(image.pixel(centre) & 0xFFFFFF, channelColour(i)) << channelName(i);
        }
        // The graph itself was drawn inside its rectangle: its series' red is there.
        const PrintRect& g = layout.graph;
        bool red = false;
        for (int y = g.top; y < g.bottom && !red; ++y)
            for (int x = g.left; x < g.right && !red; ++x)
                red = (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
        EXPECT_TRUE(red);
    }
}

TEST_F(ViewerPrintFlow, TheTableGoesToThePdfUnderItsTitle)
{
    dialogs.choice = {QStringLiteral("Twenty rows"), false};
    print();
    ASSERT_TRUE(messages.shown().empty());
    ASSERT_EQ(pdfPageCount(pdf), 1);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Twenty rows")));
    EXPECT_TRUE(text.contains(QStringLiteral("Col 2")));
    EXPECT_TRUE(text.contains(QStringLiteral("r19c2")));
}

} // namespace
