#include "tests/support/RecordProcess.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

RecordProcess::RecordProcess(std::vector<std::string> args, const std::string& stdoutPath,
                             const std::string& stderrPath, rlim_t fileSizeLimit)
    : RecordProcess(VENTORA_RECORD_PATH, std::move(args), stdoutPath, stderrPath, fileSizeLimit)
{
}

RecordProcess::RecordProcess(const std::string& program, std::vector<std::string> args,
                             const std::string& stdoutPath, const std::string& stderrPath,
                             rlim_t fileSizeLimit)
{
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    // The soft limit only, so that it can be raised again without privileges.
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = fileSizeLimit;
    pid_ = ::fork();
    if (pid_ != 0)
        return;
    // The child: only async-signal-safe calls until exec.
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        ::sigaction(signal, &standard, nullptr);
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY, 0644);
    const int err = ::open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY, 0644);
    if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
        ::dup2(err, 2) < 0 || (fileSizeLimit != RLIM_INFINITY && ::setrlimit(RLIMIT_FSIZE, &limit)))
        ::_exit(127);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

RecordProcess::~RecordProcess()
{
    if (pid_ > 0 && status_ < 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

void RecordProcess::signal(int signal) const
{
    if (pid_ > 0 && status_ < 0)
        ::kill(pid_, signal);
}

bool RecordProcess::setFileSizeLimit(rlim_t limit) const
{
    rlimit wanted{};
    if (pid_ <= 0 || ::prlimit(pid_, RLIMIT_FSIZE, nullptr, &wanted) != 0)
        return false;
    wanted.rlim_cur = limit;
    return ::prlimit(pid_, RLIMIT_FSIZE, &wanted, nullptr) == 0;
}

int RecordProcess::wait(int timeoutMs)
{
    if (pid_ <= 0)
        return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (status_ < 0) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_;
}

double RecordProcess::cpuSeconds() const
{
    std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
    std::string stat;
    std::getline(in, stat);
    // The fields after the command name (which may hold blanks) start after its ')'.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    unsigned long long utime = 0;
    unsigned long long stime = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14)
            utime = std::stoull(field);
        if (index == 15) {
            stime = std::stoull(field);
            break;
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

long RecordProcess::residentKb() const
{
    std::ifstream in("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}
