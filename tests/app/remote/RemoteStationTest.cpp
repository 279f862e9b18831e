// Instrument > "Remote Station..." as users meet it: the main frame (offscreen) receiving one
// station's samples from a real mosquitto, and the one message of a broker that refuses.
#include <gtest/gtest.h>

#include <QTest>

#include "app/live/LiveMonitor.h"
#include "app/remote/RemoteStationDlg.h"
#include "core/Unit.h"
#include "mqtt/SamplePayload.h"
#include "tests/app/frame/FrameFixture.h"
#include "tests/support/BrokerProcess.h"
#include "tests/support/MqttProbe.h"

namespace {

std::string dataText(int n)
{
    std::string text = std::to_string(n) + ".50";
    return std::string(8 - text.size(), ' ') + text + std::string(96, ' ');
}

std::string recordingTime(int n)
{
    char time[32];
    std::snprintf(time, sizeof time, "2024/05/17 12:00:%02d", n);
    return time;
}

class RemoteStation : public FrameTest {
protected:
    std::unique_ptr<BrokerProcess> broker;
};

TEST_F(RemoteStation, SamplesReachTheTableTheLiveViewsAndTheRecording)
{
    broker = std::make_unique<BrokerProcess>(dir.file("broker"), BrokerProcess::Options{});
    ASSERT_TRUE(broker->start());
    ASSERT_TRUE(frame->startRemoteStation({broker->url(), "m1", "", ""}));
    EXPECT_FALSE(actionEnabled(CMainFrame::kAutodetect));
    EXPECT_FALSE(actionEnabled(CMainFrame::kRemoteStation));
    EXPECT_TRUE(actionEnabled(CMainFrame::kDisconnect));
    ASSERT_TRUE(QTest::qWaitFor([&] { return linkPane() == "Remote m1 via 127.0.0.1"; }, 10000))
        << linkPane();
    // The probe below runs its own loop, not the window's: the subscription must be in first.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return readFile(broker->logPath()).find("Received SUBSCRIBE") != std::string::npos;
        },
        5000));

    MqttSession session;
    session.host = "127.0.0.1";
    session.port = broker->port();
    MqttProbe station(session);
    ASSERT_TRUE(station.connect(""));
    std::string expected;
    for (int n = 1; n <= 6; ++n) {
        // Sample 4 arrives twice (a message delivered again); another station's is not shown.
        const int seq = n == 5 ? 4 : n;
        ASSERT_TRUE(station.publish(
            "ventora/m1/sample",
            samplePayload("m1", seq, recordingTime(n), dataText(n), Unit::instance())));
        if (n != 5)
            expected += recordingTime(n) + "#" + dataText(n) + "\r\r\n";
    }
    ASSERT_TRUE(station.publish("ventora/m2/sample", samplePayload("m2", 9, recordingTime(9),
                                                                   dataText(9),
                                                                   Unit::instance())));
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows() >= 5; }, 5000));
    QTest::qWait(200);
    EXPECT_EQ(rows(), 5);
    EXPECT_EQ(cell(0, 0), "12:00:01 2024/05/17");
    EXPECT_EQ(cell(4, 1), "    6.50");
    EXPECT_EQ(frame->live().feed().history().totalRows(), 5u);
    EXPECT_EQ(frame->live().feed().statistics().current().samples, 5);
    EXPECT_EQ(readFile(dir.file("dump.ivt")), expected);

    // With VENTORA_SCREENSHOTS set to a folder: the window and the dialog, for a look.
    if (const QString folder = qEnvironmentVariable("VENTORA_SCREENSHOTS"); !folder.isEmpty()) {
        frame->resize(1000, 560);
        QTest::qWait(300);
        frame->grab().save(folder + "/remote-station.png");
        CRemoteStationDlg dialog({broker->url(), "m1", "station", ""}, frame.get());
        dialog.show();
        QTest::qWait(100);
        dialog.grab().save(folder + "/remote-station-dialog.png");
    }

    frame->OnDisconnect();
    EXPECT_EQ(linkPane(), "Disconnected");
    EXPECT_TRUE(actionEnabled(CMainFrame::kAutodetect));
    EXPECT_TRUE(actionEnabled(CMainFrame::kRemoteStation));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(RemoteStation, ARefusingOrMissingBrokerGivesOneMessage)
{
    broker = std::make_unique<BrokerProcess>(dir.file("broker"), BrokerProcess::Options{true});
    ASSERT_TRUE(broker->start());
    const std::string address = "127.0.0.1:" + std::to_string(broker->port());
    struct Row {
        RemoteStationChoice choice;
        std::string message;
    };
    const Row rows[] = {
        {{broker->url(false), "m1", BrokerProcess::kUser, "wrong"},
         "Remote station m1: cannot connect to the broker mqtt://station@" + address +
             "/ventora: connection refused: not authorised."},
        {{"mqtt://127.0.0.1:1", "m1", "", ""},
         "Remote station m1: cannot connect to the broker mqtt://127.0.0.1:1/ventora: "},
        {{"mqtt:/broker", "m1", "", ""},
         "Invalid broker address mqtt:/broker: it must start with mqtt:// or mqtts://."},
        {{broker->url(false), "a/b", "", ""},
         "Invalid station name \"a/b\": it may not be empty nor hold '/', '+' or '#'."},
    };
    for (const Row& row : rows) {
        messages.clear();
        frame->startRemoteStation(row.choice);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.shown().empty(); }, 10000))
            << row.message;
        QTest::qWait(1500); // a retry would come after 1 s
        ASSERT_EQ(messages.shown().size(), 1u) << row.message;
        EXPECT_EQ(messages.shown()[0].text.substr(0, row.message.size()), row.message);
        EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Stop);
        EXPECT_EQ(linkPane(), "Disconnected");
        EXPECT_TRUE(actionEnabled(CMainFrame::kRemoteStation));
    }
}

} // namespace
