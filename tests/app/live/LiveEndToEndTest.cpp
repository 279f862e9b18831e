// The live path as users meet it: the main frame (offscreen) against the VA7310 simulator, data
// rows reaching the statistics strip and the "Live Graph" window. With VENTORA_SCREENSHOTS set
// to a folder, it runs longer and keeps screenshots of both there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QTest>

#include "app/live/LiveGraphWnd.h"
#include "app/live/StatsStrip.h"
#include "chart/GraphPanel.h"
#include "tests/app/frame/FrameFixture.h"
#include "tests/app/frame/SimProcess.h"

namespace {

class LiveEndToEnd : public FrameTest {
protected:
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000)
    {
        return QTest::qWaitFor(condition, timeoutMs);
    }

    static std::string screenshotFolder() { return qgetenv("VENTORA_SCREENSHOTS").toStdString(); }
};

} // namespace

TEST_F(LiveEndToEnd, RowsReachTheStripAndTheLiveGraphAsTheyArrive)
{
    const bool screenshots = !screenshotFolder().empty();
    SimProcess sim({"--mode", "232", "--baud", "19200", "--period", "250", "--markers",
                    screenshots ? "0" : "7"},
                   dir.file("sim.log"));
    ASSERT_FALSE(sim.device().empty());
    mapCom(1, sim.device());
    startAutodetect(false);
    ASSERT_TRUE(waitFor([&] { return rows() >= 5; })) << linkPane();

    // The menu item opens the window; it shows the initial channels and follows the data.
    QAction* item = frame->commandAction(CMainFrame::kLiveGraph);
    ASSERT_NE(item, nullptr);
    item->trigger();
    CLiveGraphWnd* live = frame->live().graphWindow();
    ASSERT_NE(live, nullptr);
    EXPECT_TRUE(live->isVisible());
    const int seenRows = rows();
    ASSERT_TRUE(waitFor([&] { return rows() >= seenRows + 10; }));

    // Every data row of the table went to the statistics and the graph's history.
    const CLiveFeed& feed = frame->live().feed();
    EXPECT_EQ(feed.history().totalRows(), static_cast<std::size_t>(rows()));
    const WindFigures current = feed.statistics().current();
    const std::optional<WindFigures>& ended = feed.statistics().lastEnded();
    EXPECT_EQ(current.samples + (ended ? ended->samples : 0), rows());
    // The simulator puts a marker into every seventh line (not for the screenshots).
    if (!screenshots) {
        EXPECT_GT(current.marked + (ended ? ended->marked : 0), 0);
    }
    // The strip shows the current period's count with the instrument's unit.
    const std::string count = std::to_string(current.samples);
    EXPECT_EQ(frame->live().strip().texts().current.samples.substr(0, count.size()), count);
    EXPECT_NE(frame->live().strip().texts().current.mean.find(" m/s"), std::string::npos);
    // Azimuth (shown at first) has a point per row that holds an azimuth; SoW has none.
    const int azimuth = live->graph().getSeries(1)->points().count();
    EXPECT_GT(azimuth, rows() - 5);
    EXPECT_LE(azimuth, rows());
    EXPECT_EQ(live->graph().getSeries(0)->points().count(), 0);

    if (screenshots) {
        frame->showNormal();
        frame->resize(1100, 640);
        live->setSpan(LiveSpan::Everything);
        live->setChannelShown(0, true);
        live->setChannelShown(10, false);
        live->resize(1000, 560);
        // One-minute periods, so that the strip also shows an ended one.
        frame->live().setStatisticsPeriod(60);
        const int seconds = qEnvironmentVariableIntValue("VENTORA_SCREENSHOT_SECONDS");
        QTest::qWait(1000 * (seconds > 0 ? seconds : 60));
        live->graph().panel()->flushPending();
        QTest::qWait(200);
        frame->grab().save(QString::fromStdString(screenshotFolder() + "/stats-strip.png"));
        live->grab().save(QString::fromStdString(screenshotFolder() + "/live-graph.png"));
        live->roseBox().setChecked(true);
        live->resize(1400, 560);
        QTest::qWait(1500); // the rose is repainted once a second
        live->grab().save(QString::fromStdString(screenshotFolder() + "/live-graph-rose.png"));
    }

    // A new link starts a new graph history; the statistics go on.
    messages.answer(true);
    frame->OnDisconnect();
    startAutodetect(false);
    ASSERT_TRUE(waitFor([&] { return rows() >= 3; }));
    EXPECT_EQ(feed.history().totalRows(), static_cast<std::size_t>(rows()));
    EXPECT_TRUE(feed.statistics().current().samples > rows() || feed.statistics().lastEnded());
}
