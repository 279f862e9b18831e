#include "tests/support/SimProcess.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string readLine(int fd, int timeoutMs)
{
    std::string line;
    char c = 0;
    while (line.size() < 4096) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, timeoutMs) <= 0 || ::read(fd, &c, 1) != 1 || c == '\n')
            break;
        line += c;
    }
    return line;
}

// The log shows control characters as \r, \n and \xNN (decimal); undo that.
std::string unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char kind = text[++i];
        if (kind == 'r') {
            out += '\r';
        } else if (kind == 'n') {
            out += '\n';
        } else if (kind == 'x') {
            int value = 0;
            while (i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9')
                value = value * 10 + (text[++i] - '0');
            out += static_cast<char>(value);
        } else {
            out += '\\';
            out += kind;
        }
    }
    return out;
}

} // namespace

SimProcess::SimProcess(std::vector<std::string> args, std::string logPath)
    : logPath_(std::move(logPath))
{
    args.insert(args.begin(), VA7310_SIM_PATH);
    args.push_back("--verbose");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    ::posix_spawn_file_actions_addopen(&actions, 2, logPath_.c_str(),
                                       O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid_ = -1;
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    out_ = out[0];
    if (pid_ > 0)
        device_ = readLine(out_, 5000);
}

SimProcess::~SimProcess()
{
    stop();
    if (out_ >= 0)
        ::close(out_);
}

void SimProcess::stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

std::vector<std::string> SimProcess::sentLines() const
{
    std::vector<std::string> lines;
    std::ifstream log(logPath_);
    std::string entry;
    while (std::getline(log, entry)) {
        if (entry.rfind("> ", 0) != 0)
            continue;
        const std::string line = entry.substr(2);
        const auto endsWith = [&](std::string_view tail) {
            return line.size() >= tail.size() &&
                   line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
        };
        if (endsWith(" (dropped)") || endsWith(" (hung up)"))
            continue; // never reached the program whole
        lines.push_back(unescape(line));
    }
    return lines;
}

std::vector<std::string> SimProcess::dataSentAfter(const std::string& reply) const
{
    const std::vector<std::string> sent = sentLines();
    const auto last = std::find(sent.rbegin(), sent.rend(), reply);
    std::vector<std::string> data;
    for (auto line = last.base(); last != sent.rend() && line != sent.end(); ++line)
        if (line->size() == 105 && line->back() == '\r')
            data.push_back(line->substr(0, 104));
    return data;
}
