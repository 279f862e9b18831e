// The echo's queue against a real pipe whose reader stops, comes back and goes away.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "tools/record/EchoOutput.h"

namespace {

using Texts = std::vector<std::string>;

std::string lineNumber(int n)
{
    const std::string digits = std::to_string(n);
    return std::string(6 - digits.size(), '0') + digits + std::string(93, ',') + "\n";
}

std::string drain(int fd)
{
    std::string got;
    char buffer[4096];
    pollfd pfd{fd, POLLIN, 0};
    while (::poll(&pfd, 1, 200) > 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

COutputQueue::Deadline inMs(int ms)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

// The reader stops: lines beyond the queue are dropped whole and counted, never cut or glued,
// with one log line when dropping starts and one when lines fit again; the reader goes: the
// echo ends with one log line. The writer never waits meanwhile.
TEST(EchoOutput, ASlowThenVanishingReaderCostsEchoLinesOnly)
{
    std::signal(SIGPIPE, SIG_IGN); // as in the recorder: a gone reader is EPIPE
    int pipeFds[2];
    ASSERT_EQ(::pipe2(pipeFds, O_CLOEXEC), 0);
    ASSERT_GT(::fcntl(pipeFds[1], F_SETPIPE_SZ, 4096), 0);
    Texts log;
    CEchoOutput echo(pipeFds[1], [&](std::string_view line) { log.emplace_back(line); }, 1000);

    const int pushed = 200;
    const auto start = std::chrono::steady_clock::now();
    for (int n = 0; n < pushed; ++n)
        echo.write(lineNumber(n));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    ASSERT_EQ(log, Texts{"standard output is not being read: echo lines are dropped, "
                         "recording goes on"});

    std::string got = drain(pipeFds[0]);
    ASSERT_TRUE(echo.flush(inMs(2000)));
    got += drain(pipeFds[0]);
    echo.write(lineNumber(pushed));
    ASSERT_TRUE(echo.flush(inMs(2000)));
    got += drain(pipeFds[0]);
    ASSERT_EQ(log.size(), 2u);
    const std::string prefix = "echo resumed; ";
    ASSERT_EQ(log[1].rfind(prefix, 0), 0u) << log[1];
    const int dropped = std::stoi(log[1].substr(prefix.size()));
    EXPECT_EQ(log[1], prefix + std::to_string(dropped) + " lines were dropped");

    // Whole lines in order, the last one after the gap, and each line either written or counted.
    ASSERT_EQ(got.size() % 100, 0u);
    int previous = -1;
    for (std::size_t at = 0; at < got.size(); at += 100) {
        const int n = std::stoi(got.substr(at, 6));
        EXPECT_EQ(got.substr(at, 100), lineNumber(n));
        EXPECT_GT(n, previous);
        previous = n;
    }
    EXPECT_EQ(previous, pushed);
    EXPECT_EQ(static_cast<int>(got.size() / 100) + dropped, pushed + 1);

    ::close(pipeFds[0]);
    echo.write(lineNumber(0));
    echo.flush(inMs(2000));
    echo.write(lineNumber(1));
    echo.write(lineNumber(2));
    EXPECT_EQ(log.back(), "standard output closed (Broken pipe): echo stops, recording goes on");
    EXPECT_EQ(log.size(), 3u);
    ::close(pipeFds[1]);
}

} // namespace
