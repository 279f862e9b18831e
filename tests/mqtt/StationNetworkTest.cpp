// A station network as it runs: the paced simulator, ventora-record publishing, Debian's
// mosquitto and ventora-record as the archiver, each a process of its own. The archive must
// hold the recording byte for byte, whatever went away for a while.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "tests/support/BrokerProcess.h"
#include "tests/support/MqttProbe.h"
#include "tests/support/RecordProcess.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitFor.h"

namespace {

std::string readIfThere(const std::string& path)
{
    return std::filesystem::exists(path) ? readFile(path) : std::string();
}

std::size_t linesIn(const std::string& path) { return fileSizeOf(path) / 127; }

// Every line a log holds that contains text.
std::vector<std::string> logLines(const std::string& path, const std::string& text)
{
    std::vector<std::string> found;
    std::istringstream in(readIfThere(path));
    for (std::string line; std::getline(in, line);)
        if (line.find(text) != std::string::npos)
            found.push_back(line);
    return found;
}

enum class Outage { BrokerKilled, RecorderKilled, ArchiverStopped };

std::string outageName(Outage outage)
{
    switch (outage) {
    case Outage::BrokerKilled:
        return "BrokerKilledFor10s";
    case Outage::RecorderKilled:
        return "RecorderKilledAndRestarted";
    default:
        return "ArchiverStoppedFor10s";
    }
}

class StationNetwork : public ::testing::Test {
protected:
    void startAll(BrokerProcess::Options options = {}, std::vector<std::string> extra = {})
    {
        broker = std::make_unique<BrokerProcess>(dir.file("broker"), options);
        ASSERT_TRUE(broker->start()) << readIfThere(broker->logPath());
        sim = std::make_unique<SimProcess>(
            std::vector<std::string>{"--mode", "232", "--baud", "115200", "--period", "50",
                                     "--link", dir.file("tty")},
            dir.file("sim.log"));
        ASSERT_FALSE(sim->device().empty());
        recorderArgs = {"--port", dir.file("tty"), "--baud", "115200", "--out", recording,
                        "--mqtt", broker->url(), "--station", "m1"};
        archiverArgs = {"--subscribe", broker->url(), "--out-dir", dir.file("archive")};
        recorderArgs.insert(recorderArgs.end(), extra.begin(), extra.end());
        archiverArgs.insert(archiverArgs.end(), extra.begin(), extra.end());
        startArchiver();
        startRecorder();
    }
    void startRecorder()
    {
        recorder = std::make_unique<RecordProcess>(recorderArgs, dir.file("rec.out"),
                                                   dir.file("rec.log." + std::to_string(runs++)));
    }
    // Waits for its subscription: a sample published before the archiver's first subscription
    // has no session at the broker to wait in.
    void startArchiver()
    {
        const std::size_t before = logLines(broker->logPath(), "Received SUBSCRIBE").size();
        archiver = std::make_unique<RecordProcess>(archiverArgs, dir.file("arch.out"),
                                                   dir.file("arch.log"));
        EXPECT_TRUE(waitFor(
            [&] { return logLines(broker->logPath(), "Received SUBSCRIBE").size() > before; },
            10000));
    }
    bool recordedAtLeast(std::size_t lines, int timeoutMs = 20000)
    {
        return waitFor([&] { return linesIn(recording) >= lines; }, timeoutMs);
    }
    std::string archived() const { return readFilesIn(dir.file("archive/m1"), ".ivt"); }
    // Stops the instrument, lets the backlog drain, stops both programs: the archive must be
    // the recording, byte for byte.
    void expectArchiveIsTheRecording()
    {
        sim->stop();
        EXPECT_TRUE(waitFor([&] { return archived() == readIfThere(recording); }, 30000))
            << linesIn(recording) << " lines recorded, " << archived().size() / 127
            << " archived";
        recorder->signal(SIGTERM);
        EXPECT_EQ(recorder->wait(5000), 0);
        archiver->signal(SIGTERM);
        EXPECT_EQ(archiver->wait(5000), 0);
        EXPECT_EQ(archived(), readIfThere(recording));
    }

    TempDir dir;
    const std::string recording = dir.file("rec.ivt");
    std::unique_ptr<BrokerProcess> broker;
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<RecordProcess> recorder;
    std::unique_ptr<RecordProcess> archiver;
    std::vector<std::string> recorderArgs, archiverArgs;
    int runs = 0;
};

class Outages : public StationNetwork, public ::testing::WithParamInterface<Outage> {};

TEST_P(Outages, TheArchiveHoldsEveryRecordedLineOnce)
{
    startAll();
    ASSERT_TRUE(recordedAtLeast(40)) << readIfThere(dir.file("rec.log.0"));
    const std::size_t before = linesIn(recording);
    switch (GetParam()) {
    case Outage::BrokerKilled:
        broker->stop(SIGKILL);
        std::this_thread::sleep_for(std::chrono::seconds(10));
        ASSERT_TRUE(broker->start());
        EXPECT_EQ(logLines(dir.file("rec.log.0"), "connection lost").size(), 1u);
        break;
    case Outage::RecorderKilled:
        recorder->signal(SIGKILL);
        recorder->wait(5000);
        startRecorder();
        EXPECT_TRUE(waitFor(
            [&] { return !logLines(dir.file("rec.log.1"), "from byte").empty(); }, 5000));
        break;
    case Outage::ArchiverStopped:
        archiver->signal(SIGTERM);
        EXPECT_EQ(archiver->wait(5000), 0);
        std::this_thread::sleep_for(std::chrono::seconds(10));
        startArchiver();
        break;
    }
    ASSERT_TRUE(recordedAtLeast(before + 40));
    expectArchiveIsTheRecording();
}

INSTANTIATE_TEST_SUITE_P(StationNetwork, Outages,
                         ::testing::Values(Outage::BrokerKilled,
                                           Outage::RecorderKilled, Outage::ArchiverStopped),
                         [](const auto& info) { return outageName(info.param); });

// Recorder to archiver byte for byte, and the station's retained status.
TEST_F(StationNetwork, StatusIsRetainedOnlineWithTheInstrumentThenOfflineAfterAStop)
{
    startAll();
    ASSERT_TRUE(recordedAtLeast(5));
    MqttSession session;
    session.port = broker->port();
    session.host = "127.0.0.1";
    MqttProbe online(session);
    ASSERT_TRUE(online.connect("ventora/m1/status"));
    ASSERT_TRUE(online.waitForMessages(1, 5000));
    const auto status = nlohmann::json::parse(online.messages[0].second);
    EXPECT_EQ(status["state"], "online");
    EXPECT_EQ(status["instrument"]["port"], dir.file("tty"));
    EXPECT_EQ(status["instrument"]["rate"], 115200);
    expectArchiveIsTheRecording();
    MqttProbe offline(session);
    ASSERT_TRUE(offline.connect("ventora/m1/status"));
    ASSERT_TRUE(offline.waitForMessages(1, 5000));
    EXPECT_EQ(offline.messages[0].second, "{\"station\":\"m1\",\"state\":\"offline\"}");
}

TEST_F(StationNetwork, PasswordAndTlsWithCertificatesMadeByOpenssl)
{
    startAll({true, true}, {"--mqtt-cafile", dir.file("broker/ca.crt")});
    ASSERT_TRUE(recordedAtLeast(20)) << readIfThere(dir.file("rec.log.0"));
    expectArchiveIsTheRecording();
    for (const char* log : {"rec.log.0", "arch.log"}) {
        EXPECT_EQ(logLines(dir.file(log), "connected to the broker mqtts://station@127.0.0.1:" +
                                              std::to_string(broker->port()) + "/ventora")
                      .size(),
                  1u)
            << readIfThere(dir.file(log));
        EXPECT_TRUE(logLines(dir.file(log), "s3cret").empty());
    }
}

TEST_F(StationNetwork, AWrongPasswordIsLoggedOnceAndTriedAgainWithPauses)
{
    broker = std::make_unique<BrokerProcess>(dir.file("broker"), BrokerProcess::Options{true});
    ASSERT_TRUE(broker->start());
    writeFile(dir.file("password"), "wrong\n");
    recorderArgs = {"--port", dir.file("no-tty"), "--out", recording,
                    "--mqtt", broker->url(false).replace(7, 0, "station@"),
                    "--mqtt-password-file", dir.file("password"), "--station", "m1"};
    startRecorder();
    // Attempts at 0, 1 and 3 s.
    EXPECT_TRUE(waitFor(
        [&] { return logLines(broker->logPath(), "not authorised").size() >= 3; }, 10000))
        << readIfThere(broker->logPath());
    const auto refused = logLines(dir.file("rec.log.0"), "connection refused");
    ASSERT_EQ(refused.size(), 1u) << readIfThere(dir.file("rec.log.0"));
    EXPECT_EQ(refused[0].substr(20),
              "broker mqtt://station@127.0.0.1:" + std::to_string(broker->port()) +
                  "/ventora: connection refused: not authorised; trying again with pauses up "
                  "to 60 s");
    EXPECT_TRUE(logLines(dir.file("rec.log.0"), "wrong").empty());
}

// A recording made while no broker was there drains when one comes; the statistics of each
// closed period follow, the last one retained.
TEST_F(StationNetwork, ABacklogDrainsWithItsStatistics)
{
    std::string bytes;
    for (int n = 0; n < 150; ++n) {
        char line[200];
        std::snprintf(line, sizeof line, "2024/05/17 12:%02d:%02d#%8.2f%8.1f%88s\r\r\n", n / 60,
                      n % 60, 2.0 + n % 3, 90.0, "");
        bytes += line;
    }
    writeFile(recording, bytes);
    broker = std::make_unique<BrokerProcess>(dir.file("broker"), BrokerProcess::Options{});
    ASSERT_TRUE(broker->start());
    archiverArgs = {"--subscribe", broker->url(), "--out-dir", dir.file("archive")};
    startArchiver();
    recorderArgs = {"--port", dir.file("no-tty"), "--out",        recording,   "--mqtt",
                    broker->url(), "--station", "m1", "--stats-period", "1m"};
    startRecorder();
    EXPECT_TRUE(waitFor([&] { return archived() == bytes; }, 20000))
        << archived().size() / 127 << " archived";

    MqttSession session;
    session.host = "127.0.0.1";
    session.port = broker->port();
    MqttProbe probe(session);
    ASSERT_TRUE(probe.connect("ventora/m1/stats"));
    ASSERT_TRUE(probe.waitForMessages(1, 5000));
    const auto stats = nlohmann::json::parse(probe.messages[0].second);
    EXPECT_EQ(stats["start"].get<std::string>().substr(0, 19), "2024-05-17T12:01:00");
    EXPECT_EQ(stats["count"], 60);
    EXPECT_EQ(stats["meanSpeed"], 3.0);
    EXPECT_EQ(stats["vectorDirection"], 90.0);
    recorder->signal(SIGTERM);
    EXPECT_EQ(recorder->wait(5000), 0);
    archiver->signal(SIGTERM);
    EXPECT_EQ(archiver->wait(5000), 0);
}

} // namespace
