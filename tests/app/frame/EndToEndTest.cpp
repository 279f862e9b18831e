// The whole monitoring path: the real main frame (offscreen) against the VA7310 simulator on a
// pseudo-terminal, through the program's serial port, protocol engine and recording file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "core/CText.h"
#include "app/frame/QtFileViewers.h"
#include "controls/LedCell.h"
#include "tests/app/frame/FrameFixture.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TextShape.h"
#include "tests/serial/PtyPair.h"
#include "viewers/ViewFileDlg.h"

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

using Texts = std::vector<std::string>;

const char* const kConfirmSearch = "WARNING: Autodetect program will search the connected "
                                   "instrument.\nThis program will required few seconds.\n"
                                   "Confirm proceeds ?";
const char* const kDeleteRecording = "Do you want to delete recording file ?";

class EndToEnd : public FrameTest {
protected:
    // Starts the simulator and points COMn at it.
    std::unique_ptr<SimProcess> startSim(int com, std::vector<std::string> args)
    {
        auto sim = std::make_unique<SimProcess>(std::move(args),
                                                dir.file("sim" + std::to_string(com) + ".log"));
        if (!sim->device().empty())
            mapCom(com, sim->device());
        return sim;
    }

    static bool waitFor(const std::function<bool()>& condition, int timeoutMs = 10000)
    {
        return QTest::qWaitFor(condition, timeoutMs);
    }

    bool waitForPane(const std::string& text, int timeoutMs = 10000)
    {
        return waitFor([&] { return linkPane() == text; }, timeoutMs);
    }

    bool hasRow(const std::string& text)
    {
        const Texts texts = firstColumn();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    // Types into the main window as a user does: the key goes to the focused widget.
    void type(char key)
    {
        QWidget* target = frame->focusWidget() ? frame->focusWidget() : frame.get();
        QTest::keyClick(target, key);
    }
    void typeEnter()
    {
        QWidget* target = frame->focusWidget() ? frame->focusWidget() : frame.get();
        QTest::keyClick(target, Qt::Key_Return);
    }

    // The thirteen fields of a row joined again.
    std::string rowData(int row)
    {
        std::string data;
        for (int column = 1; column <= 13; ++column)
            data += cell(row, column);
        return data;
    }

    // A closed link: yellow "Disconnected", grey LED, "REC" off, no timer, port closed.
    void expectClosedLink()
    {
        EXPECT_EQ(linkPane(), "Disconnected");
        EXPECT_EQ(frame->linkStatusBar().pane(1).backColor(true), QColor(255, 255, 0));
        EXPECT_EQ(frame->view().ledState(), led::kGrey);
        EXPECT_FALSE(frame->view().recIndicator());
        EXPECT_FALSE(frame->timers().anyActive());
        EXPECT_FALSE(frame->view().comPort().isOpen());
        EXPECT_TRUE(actionEnabled(CMainFrame::kAutodetect));
        EXPECT_FALSE(actionEnabled(CMainFrame::kDisconnect));
    }

    // The data texts recorded in dump.ivt, in order (each line: a date-time and a data text).
    Texts recordedTexts()
    {
        const std::string recording = readFile(dir.file("dump.ivt"));
        Texts texts;
        for (std::size_t start = 0; start < recording.size();) {
            const std::size_t end = recording.find("\r\r\n", start);
            if (end == std::string::npos)
                break;
            texts.push_back(recording.substr(start + 20, end - start - 20));
            start = end + 3;
        }
        return texts;
    }

    // Waits for a moment at which the recording, from its line `from` on, holds exactly what the
    // simulator sent after reply (lines keep coming, so the two are compared between lines).
    bool waitRecordedAsSent(const SimProcess& sim, const std::string& reply, std::size_t from,
                            Texts* recorded, Texts* sent)
    {
        return waitFor([&] {
            *recorded = recordedTexts();
            recorded->erase(recorded->begin(),
                            recorded->begin() +
                                static_cast<std::ptrdiff_t>(std::min(from, recorded->size())));
            *sent = sim.dataSentAfter(reply);
            return !sent->empty() && *recorded == *sent;
        });
    }

    void keepScreenshot(const char* name)
    {
        const QByteArray folder = qgetenv("VENTORA_SCREENSHOTS");
        if (!folder.isEmpty())
            frame->grab().save(QString::fromUtf8(folder) + "/" + name);
    }
};

TEST_F(EndToEnd, AutodetectFindsRs232At38400OnCom2AfterCom1Fails)
{
    auto sim = startSim(2, {"--mode", "232", "--baud", "38400", "--period", "300"});
    ASSERT_FALSE(sim->device().empty());
    startAutodetect(false);
    ASSERT_TRUE(waitForPane("Connected to COM2 RS232 38400 8,N,2", 20000)) << linkPane();
    EXPECT_EQ(messages.texts(),
              (Texts{kConfirmSearch, kDeleteRecording, "ERROR: Unable to open COM1."}));
    EXPECT_EQ(app->connConfig.linkPort, 2);
    EXPECT_EQ(app->connConfig.linkBaudrate, 38400);
    EXPECT_EQ(frame->linkStatusBar().pane(1).backColor(true), QColor(0, 255, 0));
    EXPECT_EQ(frame->linkStatusBar().pane(1).backColor(false), QColor(0, 255, 255));
    EXPECT_FALSE(actionEnabled(CMainFrame::kAutodetect));
    EXPECT_TRUE(actionEnabled(CMainFrame::kDisconnect));

    const int wanted = qEnvironmentVariableIsEmpty("VENTORA_SCREENSHOTS") ? 3 : 14;
    ASSERT_TRUE(waitFor([&] { return rows() >= wanted; }, 20000)) << rows();
    EXPECT_EQ(columns(), 14);
    EXPECT_TRUE(frame->view().isRecording());
    const Texts sent = sim->sentLines();
    for (int row = 0; row < rows(); ++row) {
        EXPECT_TRUE(hasShape(cell(row, 0), "99:99:99 9999/99/99")) << cell(row, 0);
        // Every row is one streamed line, field by field.
        const std::string line = rowData(row) + "\r";
        EXPECT_NE(std::find(sent.begin(), sent.end(), line), sent.end()) << line;
    }
    if (wanted > 3) {
        frame->showNormal();
        frame->resize(1100, 640);
        QTest::qWait(100);
        keepScreenshot("main-window-live.png");
    }

    // A new document would wipe the live table's columns: it is not made while connected.
    frame->commandAction(CMainFrame::kFileNew)->trigger();
    EXPECT_EQ(columns(), 14);

    const int shown = rows();
    disconnect();
    expectClosedLink();
    EXPECT_EQ(rows(), shown); // the table keeps its last contents
}

// RS232 instruments streaming faster than the send period, on a wire that takes its time: the
// search finds them (a data line may cost a retry), and once connected every line they send is
// shown and recorded byte for byte, none cut by a purge.
struct StreamCase {
    int baud;
    int periodMs;
    int rows;
};

void PrintTo(const StreamCase& c, std::ostream* out)
{
    *out << c.baud << " baud, a line every " << c.periodMs << " ms";
}

class FastStream : public EndToEnd, public ::testing::WithParamInterface<StreamCase> {};

TEST_P(FastStream, IsFoundAndEveryLineIsShownAndRecordedWhole)
{
    const StreamCase c = GetParam();
    auto sim = startSim(1, {"--mode", "232", "--baud", std::to_string(c.baud), "--period",
                            std::to_string(c.periodMs)});
    ASSERT_FALSE(sim->device().empty());
    startAutodetect(true);
    const std::string connected = "Connected to COM1 RS232 " + std::to_string(c.baud) + " 8,N,2";
    ASSERT_TRUE(waitForPane(connected, 30000)) << linkPane();
    ASSERT_TRUE(waitFor([&] { return rows() >= c.rows; })) << rows();

    Texts recorded;
    Texts sent;
    EXPECT_TRUE(waitRecordedAsSent(*sim, "Vavizi232&m/s&\r", 0, &recorded, &sent))
        << recorded.size() << " recorded, " << sent.size() << " sent";
    ASSERT_GE(static_cast<int>(recorded.size()), c.rows);
    ASSERT_GE(rows(), static_cast<int>(recorded.size()));
    for (std::size_t i = 0; i < recorded.size(); ++i) {
        EXPECT_EQ(recorded[i].size(), 104u) << i;
        EXPECT_EQ(rowData(static_cast<int>(i)), recorded[i]) << i;
    }
    EXPECT_EQ(linkPane(), connected);
    disconnect();
    expectClosedLink();
    EXPECT_EQ(messages.texts(),
              (Texts{kConfirmSearch, kDeleteRecording, "Confirm disconnection ?"}));
}

INSTANTIATE_TEST_SUITE_P(Rs232, FastStream,
                         ::testing::Values(StreamCase{9600, 250, 8}, StreamCase{115200, 100, 10}),
                         [](const auto& info) {
                             return std::to_string(info.param.baud) + "Every" +
                                    std::to_string(info.param.periodMs) + "ms";
                         });

TEST_F(EndToEnd, Rs485PollingFillsTheTableAndRecordsEachRowExactlyOnce)
{
    writeFile(dir.file("dump.ivt"), "a line of an earlier run\r\r\n");
    auto sim = startSim(1, {"--mode", "485", "--baud", "9600", "--unit", "knots"});
    ASSERT_FALSE(sim->device().empty());
    startAutodetect(true);
    ASSERT_TRUE(waitForPane("Connected to COM1 RS485 9600 8,N,2")) << linkPane();
    ASSERT_TRUE(waitFor([&] { return rows() >= 3; }, 15000)) << rows();
    disconnect();
    expectClosedLink();
    EXPECT_EQ(messages.texts(), (Texts{kConfirmSearch, kDeleteRecording, "Confirm disconnection ?"}));
    EXPECT_EQ(frame->view().tableModel().columns().at(1).title, "SoW\nknots");

    // What the simulator answered to the polls, in order.
    Texts answered;
    for (const std::string& line : sim->sentLines()) {
        if (line.rfind("IIIIM1I&", 0) == 0 && line.size() >= 10)
            answered.push_back(line.substr(8, line.size() - 10));
    }
    const std::string recording = readFile(dir.file("dump.ivt"));
    Texts lines;
    for (std::size_t start = 0; start < recording.size();) {
        const std::size_t end = recording.find("\r\r\n", start);
        ASSERT_NE(end, std::string::npos) << "a line without its ending";
        lines.push_back(recording.substr(start, end - start));
        start = end + 3;
    }
    ASSERT_EQ(static_cast<int>(lines.size()), rows());
    ASSERT_GE(answered.size(), lines.size());
    ASSERT_LE(answered.size(), lines.size() + 1); // one answer may still have been on its way
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int row = static_cast<int>(i);
        ASSERT_EQ(lines[i].size(), 124u) << lines[i];
        EXPECT_TRUE(hasShape(lines[i].substr(0, 20), "9999/99/99 99:99:99#")) << lines[i];
        EXPECT_EQ(lines[i].substr(20), answered[i]);
        EXPECT_EQ(rowData(row), answered[i]);
        EXPECT_TRUE(hasShape(cell(row, 0), "99:99:99 9999/99/99 ")) << cell(row, 0);
    }
}

TEST_F(EndToEnd, SetUpMenuOpensWithAQuestionMarkAnswersAPromptAndCloses)
{
    auto sim = startSim(1, {"--mode", "232", "--baud", "9600", "--period", "300"});
    ASSERT_FALSE(sim->device().empty());
    startAutodetect(false);
    ASSERT_TRUE(waitForPane("Connected to COM1 RS232 9600 8,N,2")) << linkPane();
    ASSERT_TRUE(waitFor([&] { return rows() >= 2; }));

    type('?');
    ASSERT_TRUE(waitFor([&] { return columns() == 1 && hasRow("Choice:"); })) << rows();
    EXPECT_EQ(frame->view().tableModel().columns().at(0).title, "Setup");
    // The data rows stay above the menu's lines.
    const Texts shown = firstColumn();
    ASSERT_GE(shown.size(), 9u);
    EXPECT_EQ(Texts(shown.end() - 9, shown.end()), (Texts{"VA7310 SET-UP MENU", "Line RS232 - 9600 baud - address 1",
                                    "1 - Speed unit (m/s)", "2 - Output period (300 ms)",
                                    "0 - Exit", "Choice:", " ", " ", " "}));
    EXPECT_EQ(frame->view().ledState(), led::kGrey);
    EXPECT_FALSE(frame->view().recIndicator());

    type('1');
    typeEnter();
    ASSERT_TRUE(waitFor([&] { return hasRow("Unit:"); })) << rows();
    EXPECT_TRUE(hasRow("Choice:1")); // the answer is echoed into its prompt's row
    type('2');
    typeEnter();
    ASSERT_TRUE(waitFor([&] { return hasRow("1 - Speed unit (km/h)"); })) << rows();
    EXPECT_TRUE(hasRow("Unit:2"));

    const std::size_t recordedBefore = recordedTexts().size();
    type('0');
    typeEnter();
    ASSERT_TRUE(waitFor([&] { return columns() == 14 && rows() >= 2; })) << rows();
    EXPECT_TRUE(frame->view().recIndicator());
    EXPECT_EQ(rowData(rows() - 1).size(), 104u);
    EXPECT_EQ(linkPane(), "Connected to COM1 RS232 9600 8,N,2");
    EXPECT_EQ(messages.texts(), (Texts{kConfirmSearch, kDeleteRecording}));

    // The instrument was asked again, and the table and the recording carry its new unit.
    const auto& titles = frame->view().tableModel().columns();
    EXPECT_EQ(titles.at(1).title, "SoW\nkm/h");
    EXPECT_EQ(titles.at(12).title, "SoS\nkm/h");
    Texts recorded;
    Texts sent;
    EXPECT_TRUE(waitRecordedAsSent(*sim, "Vavizi232&km/h&\r", recordedBefore, &recorded, &sent))
        << recorded.size() << " recorded after the menu, " << sent.size() << " sent in km/h";
    ASSERT_GE(rows(), static_cast<int>(sent.size()));
    for (std::size_t row = 0; row < sent.size(); ++row)
        EXPECT_EQ(rowData(static_cast<int>(row)), sent[row]) << row;
}

TEST_F(EndToEnd, HangUpLeadsToOneCleanDisconnect)
{
    auto sim = startSim(1, {"--mode", "232", "--baud", "9600", "--period", "300",
                            "--hangup-after", "8"});
    ASSERT_FALSE(sim->device().empty());
    startAutodetect(false);
    ASSERT_TRUE(waitFor([&] { return rows() >= 1; })) << linkPane();
    ASSERT_TRUE(waitForPane("Disconnected"));
    const int shown = rows();
    QTest::qWait(300); // a storm of messages or reconnects would show up by now
    expectClosedLink();
    EXPECT_EQ(rows(), shown);
    EXPECT_EQ(messages.texts(), (Texts{kConfirmSearch, kDeleteRecording}));
}

TEST_F(EndToEnd, HangUpMidLineLeavesNoPartialRow)
{
    auto sim = startSim(
        1, {"--mode", "232", "--baud", "9600", "--period", "250", "--hangup-mid-line", "6"});
    ASSERT_FALSE(sim->device().empty());
    startAutodetect(true);
    ASSERT_TRUE(waitFor([&] { return rows() >= 1; })) << linkPane();
    ASSERT_TRUE(waitForPane("Disconnected"));
    expectClosedLink();
    const Texts recorded = recordedTexts();
    EXPECT_EQ(recorded, sim->dataSentAfter("Vavizi232&m/s&\r"));
    ASSERT_EQ(rows(), static_cast<int>(recorded.size()));
    for (int row = 0; row < rows(); ++row)
        EXPECT_EQ(rowData(row), recorded.at(static_cast<std::size_t>(row)));
    EXPECT_EQ(messages.texts(), (Texts{kConfirmSearch, kDeleteRecording}));
}

TEST_F(EndToEnd, SilentInstrumentIsDisconnectedAfterTheReplyTimeout)
{
    auto sim = startSim(1, {"--mode", "485", "--baud", "9600", "--silent-after", "3"});
    ASSERT_FALSE(sim->device().empty());
    startAutodetect(false);
    ASSERT_TRUE(waitForPane("Connected to COM1 RS485 9600 8,N,2")) << linkPane();
    ASSERT_TRUE(waitForPane("Disconnected", 10000)) << linkPane();
    expectClosedLink();
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(messages.texts(), (Texts{kConfirmSearch, kDeleteRecording}));
}

TEST_F(EndToEnd, ExitDuringTheSearchEndsIt)
{
    auto sim = startSim(1, {"--mode", "232", "--silent-after", "0"});
    ASSERT_FALSE(sim->device().empty());
    startAutodetect(false);
    EXPECT_EQ(linkPane(), "Looking for.. COM1 9600 8,N,1");
    ASSERT_TRUE(frame->view().comPort().isOpen());
    messages.answer(true);
    EXPECT_TRUE(frame->close());
    expectClosedLink();
    EXPECT_EQ(messages.texts(), (Texts{kConfirmSearch, kDeleteRecording, "Confirm Exit?"}));
}

// The paced simulator streams 10 lines a second at 115200, and the frame is found on COM1.
class BusyWindow : public EndToEnd {
protected:
    void SetUp() override
    {
        sim = startSim(1, {"--mode", "232", "--baud", "115200", "--period", "100"});
        ASSERT_FALSE(sim->device().empty());
        frame->engine().setSearchScope({1, 1, 115200});
        startAutodetect(false);
        ASSERT_TRUE(waitForPane(kConnected)) << linkPane();
        ASSERT_TRUE(waitFor([&] { return rows() >= 10; }));
    }

    // Every row shown is what the simulator sent, in order, none missing; at least minRows.
    void expectRowsAsSent(int minRows)
    {
        const Texts sent = sim->dataSentAfter(kIdent);
        ASSERT_GE(rows(), minRows);
        ASSERT_LE(static_cast<std::size_t>(rows()), sent.size());
        for (int row = 0; row < rows(); ++row)
            ASSERT_EQ(rowData(row), sent[static_cast<std::size_t>(row)]) << row;
    }

    static constexpr const char* kConnected = "Connected to COM1 RS232 115200 8,N,2";
    static constexpr const char* kIdent = "Vavizi232&m/s&\r";
    std::unique_ptr<SimProcess> sim;
};

// The line handler keeps the window thread for 3 s, longer than the reply time-out: another
// writer holds the recording file's lock. The lines the reader took in meanwhile are all shown
// and recorded once it returns, and the link stays up.
TEST_F(BusyWindow, AStalledHandlerLosesNoLine)
{
    const int before = rows();
    std::thread otherWriter([path = dir.file("dump.ivt")] {
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        ::flock(fd, LOCK_EX);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        ::close(fd);
    });
    const bool caughtUp = waitFor([&] { return rows() >= before + 50; }, 30000);
    otherWriter.join();
    ASSERT_TRUE(caughtUp) << rows() << " rows, " << linkPane();
    EXPECT_EQ(linkPane(), kConnected);
    Texts recorded;
    Texts sent;
    EXPECT_TRUE(waitRecordedAsSent(*sim, kIdent, 0, &recorded, &sent))
        << recorded.size() << " recorded, " << sent.size() << " sent";
    disconnect();
    expectRowsAsSent(before + 50);
}

// A line that the reader completed before a command was sent, but that the window thread had
// not handled yet, is no answer to that command: the send's purge forgets it like the bytes.
TEST_F(EndToEnd, ALineCompletedBeforeTheSendIsNoAnswerToIt)
{
    PtyPair pty;
    mapCom(1, pty.slavePath());
    startAutodetect(false);
    CComPortObj& port = frame->view().comPort();
    ASSERT_TRUE(port.isOpen());

    pty.send("noise\r");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (port.receiveEnabled() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ASSERT_FALSE(port.receiveEnabled()); // handed over, not yet handled
    std::this_thread::sleep_for(std::chrono::milliseconds(20));

    frame->engine().OnTimer(0); // the identification goes out
    ASSERT_NE(frame->engine().currentCommand(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_NE(frame->engine().currentCommand(), nullptr);
    EXPECT_EQ(frame->engine().linkState(), "?");
    EXPECT_TRUE(port.receiveEnabled());
    EXPECT_NE(pty.receive().find("D1.."), std::string::npos);

    pty.send("Vavizi232&m/s&\r");
    EXPECT_TRUE(waitForPane("Connected to COM1 RS232 9600 8,N,2")) << linkPane();
}

} // namespace

// File > Open of a million-line record file while the instrument streams 20 lines a second:
// the file is read on a worker, the window goes on handling the link meanwhile, and every line
// the instrument sent is recorded.
TEST_F(EndToEnd, AViewerOpeningAMillionLinesWhileRecordingLosesNoLine)
{
    std::string chunk;
    for (int r = 0; r < 1000; ++r)
        chunk += "2026/03/14 10:00:00#    " + std::to_string(1000 + r) +
                 "   180.0  1013.2    21.3    45.0     2.5     1.0    -1.0     0.1     1.4"
                 "     2.3   340.1    21.0\r\r\n";
    {
        std::string content;
        content.reserve(chunk.size() * 1000);
        for (int i = 0; i < 1000; ++i)
            content += chunk;
        writeFile(dir.file("big.ivt"), content);
    }
    auto sim = startSim(1, {"--mode", "232", "--baud", "115200", "--period", "50"});
    ASSERT_FALSE(sim->device().empty());
    startAutodetect(true);
    ASSERT_TRUE(waitForPane("Connected to COM1 RS232 115200 8,N,2", 30000)) << linkPane();
    ASSERT_TRUE(waitFor([&] { return rows() >= 5; })) << rows();

    CQtFileViewers viewers(frame.get(), dir.directory());
    frame->setFileViewers(&viewers);
    fileDialog->answers = {dir.file("big.ivt")};
    // The window thread's own timers go on ticking while the file is read: it is never held
    // for anything like the reply time-out (2.2 s). The viewer, once shown, is closed at once.
    using Clock = std::chrono::steady_clock;
    Clock::time_point lastTick = Clock::now();
    Clock::duration longestHold{};
    int shownRows = -1;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        if (shownRows < 0)
            longestHold = std::max(longestHold, now - lastTick);
        lastTick = now;
        if (auto* viewer = qobject_cast<CViewFileDlg*>(QApplication::activeModalWidget())) {
            shownRows = viewer->table().model()->rowCount();
            viewer->reject();
        }
    });
    tick.start(10);
    frame->OnFileOpen();
    tick.stop();
    EXPECT_EQ(shownRows, 1000000);
    EXPECT_LT(longestHold, std::chrono::seconds(2));

    // Every line sent until the viewer closed is recorded, in order, none missing (a slow build
    // may trail the stream by a few lines, so the recording is compared as it catches up).
    const std::string reply = "Vavizi232&m/s&\r";
    const std::size_t sentByClose = sim->dataSentAfter(reply).size();
    Texts recorded;
    EXPECT_TRUE(waitFor(
        [&] {
            recorded = recordedTexts();
            return recorded.size() >= sentByClose;
        },
        30000))
        << recorded.size() << " recorded of " << sentByClose;
    const Texts sent = sim->dataSentAfter(reply);
    ASSERT_LE(recorded.size(), sent.size());
    const auto count = static_cast<std::ptrdiff_t>(recorded.size());
    EXPECT_EQ(recorded, Texts(sent.begin(), sent.begin() + count));
    disconnect();
    expectClosedLink();
    EXPECT_EQ(messages.texts(), (Texts{kConfirmSearch, kDeleteRecording, "Confirm disconnection ?"}));
}
