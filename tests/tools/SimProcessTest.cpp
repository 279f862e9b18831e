#include <gtest/gtest.h>

#include <algorithm>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "serial/ComPortObj.h"
#include "tests/serial/PtyPair.h"
#include "tests/support/TempDir.h"

extern char** environ;

namespace {

using namespace ComResult;
using Strings = std::vector<std::string>;

// The simulator as a child process; its first output line is the device path.
class SimProcess {
public:
    explicit SimProcess(std::vector<std::string> args)
    {
        args.insert(args.begin(), VA7310_SIM_PATH);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        int out[2], err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        ::posix_spawn_file_actions_adddup2(&actions, err[1], 2);
        if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        ::posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        out_ = out[0];
        err_ = err[0];
        device_ = readLine(out_);
    }

    ~SimProcess()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            wait();
        }
        ::close(out_);
        ::close(err_);
    }

    const std::string& device() const { return device_; }

    // Exit code once the program ends (-1 if it was killed or could not start).
    int wait()
    {
        int status = 0;
        if (pid_ <= 0 || ::waitpid(pid_, &status, 0) != pid_)
            return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string allOutput() { return readAll(out_); }
    std::string allErrors() { return readAll(err_); }

private:
    static std::string readLine(int fd)
    {
        std::string line;
        char c = 0;
        while (line.size() < 4096) {
            pollfd pfd{fd, POLLIN, 0};
            if (::poll(&pfd, 1, 5000) <= 0 || ::read(fd, &c, 1) != 1 || c == '\n')
                break;
            line += c;
        }
        return line;
    }

    static std::string readAll(int fd)
    {
        std::string text;
        char buffer[1024];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(n));
        return text;
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string device_;
};

// Our port on the simulator's device, with the frame's side of the line handshake.
class SimLink {
public:
    // keepReceiving: a frame that handles each line at once, re-enabling reception as soon as a
    // line is handed over (set before the port opens, so the first line cannot slip past it).
    explicit SimLink(const std::string& device, int baud = 9600, bool keepReceiving = false)
    {
        if (keepReceiving)
            target.onLine([this] { port.setReceiveEnabled(true); });
        port.setReceiveEnabled(true);
        opened = port.openWithObject(device, &target);
        if (opened == kSuccess)
            opened = port.configureLine(baud, 8, CComPort::kParityNone, CComPort::kStopBitsTwo);
    }

    // The send step: purge, forget any partial line, break, write.
    void send(const std::string& text)
    {
        port.purge();
        port.clearLineBuffer();
        port.sendBreak();
        port.writeText(text);
    }

    // The next line, or "" when none comes within timeoutMs.
    std::string nextLine(int timeoutMs = 3000)
    {
        if (!target.waitLines(seen + 1, timeoutMs))
            return {};
        std::string line = target.lines().at(seen++);
        port.setReceiveEnabled(true);
        return line;
    }

    // Lines until one contains the text (data lines may come first on RS232).
    std::string lineWith(const std::string& text, int tries = 8)
    {
        for (int i = 0; i < tries; ++i) {
            std::string line = nextLine();
            if (line.empty() || line.find(text) != std::string::npos)
                return line;
        }
        return {};
    }

    CLineCollector target;
    CComPortObj port;
    int opened = -1;
    std::size_t seen = 0;
};

TEST(SimProcessTest, Rs232StreamsAnswersAndRunsItsMenu)
{
    SimProcess sim({"--period", "100", "--baud", "38400"});
    ASSERT_EQ(sim.device().rfind("/dev/pts/", 0), 0u) << sim.device();
    SimLink link(sim.device(), 38400);
    ASSERT_EQ(link.opened, kSuccess);

    for (int i = 0; i < 3; ++i) {
        const std::string line = link.nextLine();
        ASSERT_EQ(line.size(), 105u) << line;
        EXPECT_EQ(line.back(), '\r');
    }
    link.send("D1..");
    EXPECT_EQ(link.lineWith("&"), "Vavizi232&m/s&\r");

    link.port.setDialogue(true);
    link.send("?");
    // A data line on the wire when the dialogue began ends in CR only, which does not end a
    // dialogue line: it may come joined to the menu's first line.
    const std::string heading = link.lineWith("SET-UP");
    const std::string expected = "VA7310 SET-UP MENU\r\n";
    EXPECT_TRUE(heading.size() >= expected.size() &&
                heading.compare(heading.size() - expected.size(), expected.size(), expected) == 0)
        << heading;
    EXPECT_EQ(link.lineWith(":"), "Choice:");
    link.port.writeText("0\r");
    EXPECT_EQ(link.nextLine(), "?\r\n");
    link.port.setDialogue(false);
    EXPECT_EQ(link.nextLine().size(), 105u) << "streaming resumes";
}

TEST(SimProcessTest, Rs485AnswersPollsOnlyAtItsOwnSpeed)
{
    SimProcess sim({"--mode", "485", "--baud", "38400", "--unit", "km/h"});
    SimLink link(sim.device(), 9600);
    ASSERT_EQ(link.opened, kSuccess);
    link.send("D1..");
    EXPECT_EQ(link.nextLine(400), "") << "nothing is understood at 9600";

    ASSERT_EQ(link.port.configureLine(38400, 8, 0, 2), kSuccess);
    EXPECT_EQ(link.nextLine(300), "") << "RS485 sends nothing by itself";
    link.send("D1..");
    EXPECT_EQ(link.nextLine(), "Dirado485&km/h&\r");
    link.send("M1..");
    const std::string reply = link.nextLine();
    ASSERT_EQ(reply.size(), 114u) << reply;
    EXPECT_EQ(reply.substr(0, 8), "IIIIM1I&");
    EXPECT_EQ(reply.substr(112), "&\r");
    link.send("M2..");
    EXPECT_EQ(link.nextLine(300), "") << "another address";
}

// Milliseconds from writing the request to the carriage return ending the reply; -1 when no
// reply ends within 5 s. Timed from our own write, a busy machine can only lengthen it.
long replyMs(CComPort& port, const std::string& request)
{
    using Clock = std::chrono::steady_clock;
    port.sendBreak();
    const auto start = Clock::now();
    port.writeText(request);
    while (Clock::now() < start + std::chrono::seconds(5)) {
        if (port.waitEvent(100) != kSuccess)
            continue;
        char bytes[256];
        std::size_t got = 0;
        port.read(bytes, sizeof bytes, &got);
        if (std::find(bytes, bytes + got, '\r') != bytes + got)
            return static_cast<long>(
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start)
                    .count());
    }
    return -1;
}

// The 114-character measure reply, 11 bits a character at 9600 baud, takes 131 ms on the wire;
// --instant writes it at once.
TEST(SimProcessTest, LinesTakeTheWiresTimeUnlessInstant)
{
    for (const bool instant : {false, true}) {
        SCOPED_TRACE(instant ? "instant" : "paced");
        std::vector<std::string> args = {"--mode", "485"};
        if (instant)
            args.push_back("--instant");
        SimProcess sim(args);
        CComPort port;
        ASSERT_EQ(port.open(sim.device()), kSuccess);
        ASSERT_EQ(port.configureLine(9600, 8, CComPort::kParityNone, CComPort::kStopBitsTwo),
                  kSuccess);
        const long ms = replyMs(port, "M1..");
        ASSERT_GE(ms, 0) << "no reply came";
        if (instant)
            EXPECT_LT(ms, 100);
        else
            EXPECT_GE(ms, 125);
    }
}

// After the given number of whole lines the simulator hangs up, between two lines or half-way
// through one: either way the port hands over whole lines only and asks for one disconnect.
TEST(SimProcessTest, HangUpEndsInOneDisconnectRequest)
{
    struct Case {
        const char* option;
        std::size_t wholeLines;
    };
    for (const Case c : {Case{"--hangup-after", 2}, Case{"--hangup-mid-line", 1}}) {
        SCOPED_TRACE(c.option);
        SimProcess sim({"--period", "50", "--baud", "38400", c.option,
                        std::to_string(c.wholeLines)});
        SimLink link(sim.device(), 38400, true);
        ASSERT_EQ(link.opened, kSuccess);
        ASSERT_TRUE(link.target.waitDisconnects(1, 3000));
        EXPECT_EQ(sim.wait(), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(link.target.disconnects(), 1);
        const Strings lines = link.target.lines();
        EXPECT_EQ(lines.size(), c.wholeLines);
        for (const std::string& line : lines)
            EXPECT_EQ(line.size(), 105u);
        EXPECT_FALSE(link.port.readerRunning());
        EXPECT_EQ(link.port.close(), kSuccess);
    }
}

TEST(SimProcessTest, OverLongLineAsksForDisconnect)
{
    SimProcess sim({"--mode", "485", "--long-after", "0"});
    SimLink link(sim.device());
    ASSERT_EQ(link.opened, kSuccess);
    link.send("D1..");
    ASSERT_TRUE(link.target.waitDisconnects(1, 3000));
    link.send("D1..");
    EXPECT_EQ(link.nextLine(), "Dirado485&m/s&\r");
    EXPECT_EQ(link.target.disconnects(), 1);
}

TEST(SimProcessTest, HelpErrorsAndLink)
{
    SimProcess help({"--help"});
    EXPECT_EQ(help.device(), "Usage: va7310-sim [options]");
    EXPECT_EQ(help.wait(), 0);

    SimProcess bad({"--mode", "422"});
    EXPECT_EQ(bad.wait(), 2);
    EXPECT_EQ(bad.allErrors(),
              "va7310-sim: invalid value '422' for option '--mode'\nTry 'va7310-sim --help'.\n");

    TempDir dir;
    const std::string link = dir.file("COM1");
    {
        SimProcess sim({"--link", link});
        char target[256] = {};
        ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(target, sim.device());
        SimLink port(link);
        EXPECT_EQ(port.opened, kSuccess);
    }
    struct stat info {};
    EXPECT_NE(::lstat(link.c_str(), &info), 0) << "the link is removed when the simulator stops";

    writeFile(link, "a regular file");
    SimProcess refused({"--link", link});
    EXPECT_EQ(refused.wait(), 1);
    EXPECT_EQ(readFile(link), "a regular file");
}

} // namespace
