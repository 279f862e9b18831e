// The echo's queue against a real pipe whose reader stops, comes back and goes away.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "tools/record/EchoOutput.h"

namespace {

std::string numbered(int n) { return std::to_string(1000000 + n) + std::string(92, ',') + "\n"; }

// What the pipe holds, then what the queue still had for it.
std::string drain(CEchoOutput& echo, int fd)
{
    std::string got;
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1)
            echo.flush(std::chrono::steady_clock::now() + std::chrono::seconds(2));
        char buffer[1 << 16];
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, 0) > 0)
            if (const ssize_t n = ::read(fd, buffer, sizeof buffer); n > 0)
                got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

// A reader that stops costs whole echo lines, counted, never a cut or glued one; the writer never
// waits for it. Dropping and resuming are logged once each.
TEST(EchoOutput, AStoppedReaderCostsWholeEchoLinesOnly)
{
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    ASSERT_GT(::fcntl(fds[1], F_SETPIPE_SZ, 4096), 0);
    const std::string full(4096, 'f'); // the reader stopped with the pipe full
    ASSERT_EQ(::write(fds[1], full.data(), full.size()), 4096);
    std::vector<std::string> log;
    CEchoOutput echo(fds[1], [&](std::string_view line) { log.emplace_back(line); }, 1000);
    for (int n = 0; n < 200; ++n)
        echo.write(numbered(n));
    std::string got = drain(echo, fds[0]);
    echo.write(numbered(200));
    got += drain(echo, fds[0]);

    EXPECT_EQ(log, (std::vector<std::string>{
                       "standard output is not being read: echo lines are dropped, recording "
                       "goes on",
                       "echo resumed; 190 lines were dropped"}));
    std::string expected = full;
    for (int n : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 200})
        expected += numbered(n);
    EXPECT_EQ(got, expected) << "the lines that fitted, whole";
    ::close(fds[0]);
    ::close(fds[1]);
}

} // namespace
