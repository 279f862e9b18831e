// va7310-sim: plays a VA7310 sonic anemometer on a pseudo-terminal (see --help).

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "serial/LineSpeed.h"
#include "tools/va7310-sim/Instrument.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int)
{
    stopRequested = 1;
}

struct Pty {
    int master = -1;
    int slave = -1; // held open so that the master never sees a hang-up between programs
    std::string path;
};

bool openPty(int baud, Pty* pty)
{
    termios raw{};
    ::cfmakeraw(&raw);
    raw.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&raw, speedFromBaud(baud));
    ::cfsetospeed(&raw, speedFromBaud(baud));
    char name[128] = {};
    if (::openpty(&pty->master, &pty->slave, name, &raw, nullptr) != 0)
        return false;
    pty->path = name;
    ::fcntl(pty->master, F_SETFL, ::fcntl(pty->master, F_GETFL) | O_NONBLOCK);
    ::fcntl(pty->master, F_SETFD, FD_CLOEXEC);
    ::fcntl(pty->slave, F_SETFD, FD_CLOEXEC);
    return true;
}

// Replaces an existing symbolic link, never another kind of file.
bool publishLink(const std::string& target, const std::string& link)
{
    struct stat info {};
    if (::lstat(link.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            std::fprintf(stderr, "va7310-sim: %s exists and is not a symbolic link\n", link.c_str());
            return false;
        }
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        std::fprintf(stderr, "va7310-sim: cannot create %s: %s\n", link.c_str(),
                     std::strerror(errno));
        return false;
    }
    return true;
}

// The speed the program set on its end is the instrument's own.
bool lineMatches(int master, int baud)
{
    termios tio{};
    return ::tcgetattr(master, &tio) == 0 && ::cfgetospeed(&tio) == speedFromBaud(baud);
}

std::string printable(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (static_cast<unsigned char>(c) < 0x20)
            out += "\\x" + std::to_string(static_cast<unsigned char>(c));
        else
            out += c;
    }
    return out;
}

// Writes a whole line; what the other end cannot take within 100 ms is dropped, as a UART's
// overrun would.
void sendLine(int master, const std::string& line, bool verbose)
{
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(master, line.data() + done, line.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        pollfd pfd{master, POLLOUT, 0};
        if (n < 0 && errno == EAGAIN && ::poll(&pfd, 1, 100) > 0)
            continue;
        break;
    }
    if (verbose)
        std::fprintf(stderr, "> %s%s\n", printable(line).c_str(),
                     done < line.size() ? " (dropped)" : "");
}

void sendAll(int master, const CInstrument::Lines& lines, bool verbose)
{
    for (const std::string& line : lines)
        sendLine(master, line, verbose);
}

void installSignals(sigset_t* waitMask)
{
    struct sigaction action {};
    action.sa_handler = onSignal;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    sigset_t blocked;
    ::sigemptyset(&blocked);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaddset(&blocked, signal);
    // Blocked except inside ppoll(), so a signal can never slip in before the wait.
    ::sigprocmask(SIG_BLOCK, &blocked, waitMask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigdelset(waitMask, signal);
}

void run(const SimOptions& options, const Pty& pty, const sigset_t& waitMask)
{
    CInstrument instrument(options, CInstrument::Clock::now());
    while (!stopRequested && !instrument.hungUp()) {
        const int waitMs = instrument.msUntilDue(CInstrument::Clock::now());
        timespec timeout{waitMs / 1000, (waitMs % 1000) * 1000000L};
        pollfd pfd{pty.master, POLLIN, 0};
        const int ready = ::ppoll(&pfd, 1, waitMs < 0 ? nullptr : &timeout, &waitMask);
        if (ready < 0 && errno != EINTR)
            break;
        const auto now = CInstrument::Clock::now();
        instrument.setLineMatches(lineMatches(pty.master, options.baud));
        if (ready > 0 && (pfd.revents & POLLIN)) {
            char buffer[256];
            const ssize_t n = ::read(pty.master, buffer, sizeof buffer);
            if (n > 0) {
                const std::string bytes(buffer, static_cast<std::size_t>(n));
                if (options.verbose)
                    std::fprintf(stderr, "< %s\n", printable(bytes).c_str());
                sendAll(pty.master, instrument.receive(bytes, now), options.verbose);
            }
        }
        sendAll(pty.master, instrument.tick(now), options.verbose);
    }
    if (options.verbose && instrument.hungUp())
        std::fprintf(stderr, "va7310-sim: hanging up after %d lines\n", instrument.linesSent());
}

} // namespace

int main(int argc, char** argv)
{
    SimOptions options;
    std::string message;
    switch (parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &message)) {
    case SimParse::Help:
        std::fputs(simUsage().c_str(), stdout);
        return 0;
    case SimParse::Error:
        std::fprintf(stderr, "va7310-sim: %s\nTry 'va7310-sim --help'.\n", message.c_str());
        return 2;
    case SimParse::Run:
        break;
    }
    sigset_t waitMask;
    installSignals(&waitMask);
    Pty pty;
    if (!openPty(options.baud, &pty)) {
        std::fprintf(stderr, "va7310-sim: cannot open a pseudo-terminal: %s\n",
                     std::strerror(errno));
        return 1;
    }
    if (!options.linkPath.empty() && !publishLink(pty.path, options.linkPath))
        return 1;
    std::printf("%s\n", pty.path.c_str());
    std::fflush(stdout);
    if (options.verbose)
        std::fprintf(stderr, "va7310-sim: RS%d at %d baud on %s\n", options.mode, options.baud,
                     pty.path.c_str());

    run(options, pty, waitMask);

    ::close(pty.master); // the program's end sees the hang-up
    ::close(pty.slave);
    if (!options.linkPath.empty())
        ::unlink(options.linkPath.c_str());
    return 0;
}
