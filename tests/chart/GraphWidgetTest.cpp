// The graph window driven like a user would: mouse, context menu, tool tip, notifications.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include "core/Unit.h"
#include "chart/GraphContainer.h"
#include "chart/GraphFrame.h"
#include "chart/GraphPanel.h"
#include "chart/GraphWnd.h"
#include "chart/HRuler.h"
#include "chart/PlotRenderer.h"
#include "chart/PointViewBar.h"
#include "chart/VRuler.h"
#include "controls/AnsiText.h"

namespace {

constexpr int kRows = 100;

// QTest presses, releases and clicks; a move is sent as the event a real mouse would make,
// since QTest::mouseMove only warps the cursor, which the offscreen platform ignores.
void moveMouse(QWidget* widget, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(pos), QPointF(widget->mapToGlobal(pos)),
                      Qt::NoButton, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

class GraphWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        model.setRowCount(kRows);
        model.setColumnCount(14);
        for (int r = 0; r < kRows; ++r) {
            model.setItem(r, 0, new QStandardItem(QString("2026/01/01 00:%1:00").arg(r, 2, 10, QChar('0'))));
            for (int c = 1; c < 14; ++c)
                model.setItem(r, c, new QStandardItem(QString("%1.%2").arg(r).arg(c)));
        }
        list.setModel(&model);
        list.resize(300, 120);
        list.show();
        graph.setPartnerList(&list);
        graph.visibility().assign(13, 0);
        graph.setAxis("", " ", 0, kAxisX);
        graph.setAxis("", "", 2, kAxisY);
        series = graph.addSeries(0xFF0000, "Channel 1");
        for (int i = 0; i < kRows; ++i)
            graph.addPoint(series, i, i % 10, false);
        graph.pointsBarFlags(kBarHide);
        graph.resize(820, 520);
        graph.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&graph));
        QApplication::processEvents();
        panel = graph.panel();
        graph.zoomReset();
    }

    CAxisMap xMap() const { return plotXMap(panel->rect(), panel->ranges()); }
    CAxisMap yMap() const { return plotYMap(panel->rect(), panel->ranges()); }

    void band(QPoint from, QPoint to)
    {
        QTest::mousePress(panel, Qt::LeftButton, {}, from);
        moveMouse(panel, (from + to) / 2, Qt::LeftButton);
        moveMouse(panel, to, Qt::LeftButton);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, to);
    }

    QStandardItemModel model;
    QTableView list;
    CGraphWnd graph{32};
    CGraphPanel* panel = nullptr;
    int series = -1;
};

TEST_F(GraphWindow, ZoomResetShowsTheDataBounds)
{
    EXPECT_GT(panel->width(), 600);
    EXPECT_GT(panel->height(), 400);
    EXPECT_EQ(panel->ranges(), (PlotRanges{0, 99, 0, 9}));
    EXPECT_EQ(graph.getViewRanges(), panel->ranges());
    EXPECT_EQ(graph.container()->hRuler()->rangeTo(), 99);
    EXPECT_EQ(graph.container()->vRuler()->rangeTo(), 9);
}

TEST_F(GraphWindow, RubberBandThenZoomInStep)
{
    const CAxisMap x = xMap(), y = yMap();
    band({100, 50}, {300, 200});
    EXPECT_TRUE(panel->zoomRectPresent());
    EXPECT_EQ(panel->ranges(), (PlotRanges{0, 99, 0, 9})); // nothing yet
    graph.zoomIn();
    const PlotRanges r = panel->ranges();
    EXPECT_DOUBLE_EQ(r.xFrom, x.toValue(100));
    EXPECT_DOUBLE_EQ(r.xTo, x.toValue(300));
    EXPECT_DOUBLE_EQ(r.yFrom, y.toValue(200));
    EXPECT_DOUBLE_EQ(r.yTo, y.toValue(50));
    EXPECT_EQ(panel->zoomDepth(), 1);
    EXPECT_FALSE(panel->zoomRectPresent());
    // The partner list shows the first row of the new view.
    const int row = static_cast<int>(r.xFrom);
    ASSERT_GT(row, 5);
    EXPECT_TRUE(list.viewport()->rect().intersects(list.visualRect(model.index(row, 0))));

    graph.zoomIn(); // no new rectangle: nothing happens
    EXPECT_EQ(panel->ranges(), r);
    EXPECT_EQ(panel->zoomDepth(), 1);
}

TEST_F(GraphWindow, ZoomPlusGreyedUntilANewBand)
{
    auto zoomPlusEnabled = [&] {
        const auto menu = panel->createContextMenu();
        for (QAction* a : menu->actions())
            if (a->text() == "Zoom +")
                return a->isEnabled();
        ADD_FAILURE() << "no Zoom + item";
        return false;
    };
    EXPECT_FALSE(zoomPlusEnabled());
    band({100, 100}, {200, 200});
    EXPECT_TRUE(zoomPlusEnabled());
    panel->command(kCmdZoomIn);
    EXPECT_FALSE(zoomPlusEnabled());
    QTest::mouseClick(panel, Qt::LeftButton, {}, {150, 150}); // a click is no rectangle
    EXPECT_FALSE(zoomPlusEnabled());
    band({20, 20}, {120, 90});
    EXPECT_TRUE(zoomPlusEnabled());
    panel->command(kCmdZoomOut);
    EXPECT_FALSE(zoomPlusEnabled());
    EXPECT_EQ(panel->ranges(), (PlotRanges{0, 99, 0, 9}));
}

TEST_F(GraphWindow, DoubleClickZoomsIntoTheBand)
{
    const CAxisMap x = xMap();
    band({200, 100}, {400, 300});
    QTest::mouseDClick(panel, Qt::LeftButton, {}, {300, 200});
    EXPECT_DOUBLE_EQ(panel->ranges().xFrom, x.toValue(200));
    EXPECT_DOUBLE_EQ(panel->ranges().xTo, x.toValue(400));
}

TEST_F(GraphWindow, ShiftDragMovesTheRangesByTheDataDistance)
{
    const CAxisMap x = xMap(), y = yMap();
    const PlotRanges before = panel->ranges();
    QTest::mousePress(panel, Qt::LeftButton, Qt::ShiftModifier, {200, 200});
    moveMouse(panel, {230, 215}, Qt::LeftButton, Qt::ShiftModifier);
    moveMouse(panel, {260, 240}, Qt::LeftButton, Qt::ShiftModifier);
    QTest::mouseRelease(panel, Qt::LeftButton, Qt::ShiftModifier, {260, 240});
    const double dx = x.toValue(200) - x.toValue(260), dy = y.toValue(200) - y.toValue(240);
    const PlotRanges r = panel->ranges();
    EXPECT_NEAR(r.xFrom, before.xFrom + dx, 1e-9);
    EXPECT_NEAR(r.xTo, before.xTo + dx, 1e-9);
    EXPECT_NEAR(r.yFrom, before.yFrom + dy, 1e-9);
    EXPECT_NEAR(r.yTo, before.yTo + dy, 1e-9);
    EXPECT_LT(dx, 0); // dragging right shows earlier data
    EXPECT_GT(dy, 0); // dragging down shows higher values
    EXPECT_FALSE(panel->zoomRectPresent());
}

TEST_F(GraphWindow, ToolTipShowsTheRowUnderTheMouse)
{
    Unit::instance().setSpeedUnit("m/s");
    graph.visibility()[0] = 1; // SoW
    graph.visibility()[5] = 1; // Ain4
    graph.setStyleKeepRanges(panel->style() | kStyleMouseCoordinates);
    const int pixel = xMap().toPixel(42.0);
    for (int i = 0; i < 4; ++i)
        moveMouse(panel, {pixel, 100 + i});
    EXPECT_EQ(panel->currentToolTip(),
              "Time: 2026/01/01 00:42:00\n\nSoW: 42.1 m/s\nAin4: 42.6 \n");
    EXPECT_EQ(panel->toolTip(), fromAnsi(panel->currentToolTip()));

    graph.setStyleKeepRanges(panel->style() & ~unsigned(kStyleMouseCoordinates));
    for (int i = 0; i < 4; ++i)
        moveMouse(panel, {pixel, 120 + i});
    EXPECT_EQ(panel->currentToolTip(), "");
    Unit::instance().reset();
}

TEST_F(GraphWindow, ContextMenuChecksFollowTheStyle)
{
    auto states = [&] {
        std::string s;
        const auto menu = panel->createContextMenu();
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                s += a->text().toStdString() + (a->isChecked() ? "+" : "-") +
                     (a->isEnabled() ? "" : "(grey)") + " ";
        return s;
    };
    EXPECT_EQ(panel->style(), unsigned(kStyleInitial));
    EXPECT_EQ(states(), "Point marks+ Axis+ Zoom tool- Zoom +-(grey) Zoom -- ");
    const auto menu = panel->createContextMenu();
    for (QAction* a : menu->actions())
        if (a->text() == "Point marks" || a->text() == "Zoom tool")
            a->trigger();
    EXPECT_EQ(panel->style(), unsigned(kStyleExtendRanges | kStyleGrid));
    EXPECT_TRUE(panel->zoomToolOn());
    EXPECT_EQ(panel->trackerRect(), QRect(QPoint(5, 5), QPoint(50, 50)));
    EXPECT_EQ(states(), "Point marks- Axis+ Zoom tool+ Zoom +- Zoom -- ");
    panel->command(kCmdAxis);
    EXPECT_EQ(panel->style(), unsigned(kStyleExtendRanges));
}

TEST_F(GraphWindow, ZoomToolMovesItsRectangle)
{
    panel->command(kCmdZoomTool);
    QTest::mousePress(panel, Qt::LeftButton, {}, {25, 25});
    moveMouse(panel, {75, 45}, Qt::LeftButton);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, {125, 65});
    EXPECT_EQ(panel->trackerRect(), QRect(QPoint(105, 45), QPoint(150, 90)));
    const CAxisMap x = xMap();
    panel->command(kCmdZoomIn);
    EXPECT_DOUBLE_EQ(panel->ranges().xFrom, x.toValue(105));
}

TEST_F(GraphWindow, AddedPointsExtendTheViewAndDrawLikeAFullRender)
{
    graph.addPoint(series, -10, 3); // left of the view: x start moves to it
    EXPECT_EQ(panel->ranges(), (PlotRanges{-10, 99, 0, 9}));
    graph.addPoint(series, 120, 12);
    EXPECT_EQ(panel->ranges(), (PlotRanges{-10, 120, 0, 12}));
    // Inside the view, a new last point is drawn on its own; the result is the full picture.
    // (Grid off: the grid is drawn over the series, and a new segment over the grid.)
    graph.setStyleAndRanges(kStyleExtendRanges | kStylePointMarks, -10, 200, 0, 20);
    graph.addPoint(series, 150, 5);
    const QImage incremental = panel->image();
    panel->render();
    EXPECT_EQ(incremental, panel->image());

    // A hidden series does not move the view.
    graph.getSeries(series)->setVisible(false);
    graph.addPoint(series, 500, 500);
    EXPECT_EQ(panel->ranges().xTo, 200);
}

TEST_F(GraphWindow, AxisChangesReachTheRulers)
{
    graph.setAxis("Wind speed", "m/s", 1, kAxisY);
    EXPECT_EQ(graph.container()->vRuler()->caption(), "m/s");
    EXPECT_EQ(graph.container()->vRuler()->toolTip(), "Wind speed, m/s");
    graph.setAxis("Time", "s", 0, kAxisX);
    EXPECT_EQ(graph.container()->hRuler()->toolTipText(), "Time, s");
    EXPECT_EQ(graph.container()->vRuler()->paintedCaption(2), "m/sE2");
    EXPECT_EQ(graph.container()->vRuler()->paintedCaption(0), "m/s");
}

TEST_F(GraphWindow, PointsBarFollowsNotifications)
{
    CPointViewBar* bar = graph.frame()->pointsBar();
    EXPECT_TRUE(bar->isHidden());
    graph.pointsBarFlags(kBarShow);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->shownSeries(), series);
    EXPECT_EQ(bar->rowCount(), kRows);
    graph.addPoint(series, 200, 1);
    EXPECT_EQ(bar->rowCount(), kRows + 1);
    graph.frame()->command(kCmdTogglePointsBar);
    EXPECT_TRUE(bar->isHidden());
}

TEST_F(GraphWindow, RemovingAndClearingSeriesRedraws)
{
    const QImage before = panel->image();
    graph.removeSeries(series);
    EXPECT_NE(before, panel->image());
    const QImage blank = panel->image();
    for (int y = 0; y < blank.height(); y += 5)
        for (int x = 0; x < blank.width(); x += 5)
            ASSERT_NE(blank.pixel(x, y), qRgb(255, 0, 0));
    DataBounds b;
    EXPECT_FALSE(graph.getDataBounds(b));
    const PlotRanges kept = panel->ranges();
    graph.zoomReset(); // no data: the view stays
    EXPECT_EQ(panel->ranges(), kept);
}

TEST(Rulers, InchSizesOnScreenAndPrinter)
{
    const RulerSizes screen = FRuler::sizesFor(96);
    EXPECT_EQ(screen.margin, 16);
    EXPECT_EQ(screen.fontHeight, 14);
    EXPECT_EQ(screen.tickLength, 4);
    EXPECT_EQ(screen.captionGap, 1);
    const RulerSizes tiny = FRuler::sizesFor(20); // 20/60 is 0, which becomes 1
    EXPECT_EQ(tiny.captionGap, 1);
    EXPECT_EQ(tiny.tickLength, 1);
    const RulerSizes printer = FRuler::sizesFor(600);
    EXPECT_EQ(printer.margin, 100);
    EXPECT_EQ(printer.tickLength, 25);
}

TEST(Rulers, LayoutLinesTheScalesUpWithThePanel)
{
    for (int dpi : {96, 300}) {
        const GraphLayout layout = CGraphContainer::layoutFor(QRect(0, 0, 1000, 600), dpi, dpi);
        const RulerSizes s = FRuler::sizesFor(dpi);
        EXPECT_EQ(layout.hRuler.left() + s.margin, layout.plot.left());
        EXPECT_EQ(layout.hRuler.right(), layout.plot.right());
        EXPECT_EQ(layout.vRuler.top() + s.margin, layout.plot.top());
        EXPECT_EQ(layout.vRuler.bottom(), layout.plot.bottom());
        EXPECT_GE(layout.hRuler.left(), 0);
        EXPECT_GE(layout.vRuler.top(), 0);
    }
}

TEST(GraphDrawing, DrawsIntoAnyDeviceWithItsOwnMarkSize)
{
    CGraphWnd graph(4);
    const int s = graph.addSeries(0x0000FF, "s");
    for (int i = 0; i < 20; ++i)
        graph.addPoint(s, i, i, false);
    graph.zoomReset();
    QImage print(1200, 800, QImage::Format_RGB32);
    print.setDotsPerMeterX(11811); // 300 dpi
    print.setDotsPerMeterY(11811);
    EXPECT_EQ(markHalfSize(&print), 8);
    QPainter painter(&print);
    graph.drawGraph(painter, print.rect(), QFont("Liberation Serif"));
    painter.end();
    const GraphLayout layout = CGraphContainer::layoutFor(print.rect(), 300, 300);
    // The first point's mark: a 17 x 17 square at the plot's bottom-left corner.
    const QPoint corner(layout.plot.left(), layout.plot.bottom());
    EXPECT_EQ(print.pixel(corner + QPoint(8, -8)), qRgb(0, 0, 255));
    EXPECT_NE(print.pixel(corner + QPoint(9, -9)), qRgb(0, 0, 255));
}

} // namespace

namespace {

TEST(GraphFrame, TimerStyleFlushesQuietChanges)
{
    CGraphWnd quiet(4);
    EXPECT_FALSE(quiet.frame()->timerRunning());
    CGraphWnd timed(4, nullptr, CGraphFrame::kStyleTimer);
    EXPECT_TRUE(timed.frame()->timerRunning());
    timed.resize(400, 300);
    timed.setStyleAndRanges(0, 0, 10, 0, 10);
    timed.panel()->render();
    const QImage before = timed.panel()->image();
    const int s = timed.addSeries(0x00FF00, "s");
    timed.addPoint(s, 0, 0, false);
    timed.addPoint(s, 10, 10, false);
    EXPECT_EQ(timed.panel()->image(), before); // nothing drawn without a redraw
    timed.panel()->flushPending();              // what the 100 ms tick does
    EXPECT_NE(timed.panel()->image(), before);
}

} // namespace
