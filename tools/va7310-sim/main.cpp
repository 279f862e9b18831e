// va7310-sim: plays a VA7310 sonic anemometer on a pseudo-terminal (see --help).

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include "core/FileSizeSignal.h"
#include "serial/LineSpeed.h"
#include "tools/va7310-sim/Instrument.h"
#include "tools/va7310-sim/LinePacer.h"

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

// The time one character takes on the line that the program set on its end (the master reports
// the slave's settings); the instrument's own rate when that cannot be read.
std::chrono::nanoseconds characterTime(int master, int baud)
{
    termios tio{};
    if (::tcgetattr(master, &tio) != 0 || baudFromSpeed(::cfgetospeed(&tio)) <= 0)
        return CLinePacer::characterTime(baud, 8, false, 2);
    static constexpr int kDataBits[] = {5, 6, 7, 8};
    const int dataBits = kDataBits[(tio.c_cflag & CSIZE) == CS5   ? 0
                                   : (tio.c_cflag & CSIZE) == CS6 ? 1
                                   : (tio.c_cflag & CSIZE) == CS7 ? 2
                                                                  : 3];
    return CLinePacer::characterTime(baudFromSpeed(::cfgetospeed(&tio)), dataBits,
                                     (tio.c_cflag & PARENB) != 0,
                                     (tio.c_cflag & CSTOPB) != 0 ? 2 : 1);
}

// Puts bytes on the wire; what the other end cannot take within 100 ms is lost, as a UART's
// overrun would lose it.
std::size_t writeWire(int master, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
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
    return done;
}

void logSent(const std::vector<CLinePacer::Sent>& sent)
{
    for (const CLinePacer::Sent& line : sent) {
        const char* fate = line.fate == CLinePacer::Fate::Dropped  ? " (dropped)"
                           : line.fate == CLinePacer::Fate::HungUp ? " (hung up)"
                                                                   : "";
        std::fprintf(stderr, "> %s%s\n", printable(line.line).c_str(), fate);
    }
}

void queueAll(CLinePacer& pacer, const CInstrument& instrument, CInstrument::Lines lines,
              CInstrument::Clock::time_point now)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i];
        const bool cut = i + 1 == lines.size() && instrument.lastLineCut();
        if (cut)
            line.resize(line.size() / 2);
        pacer.queue(std::move(line), now, cut);
    }
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

// How long to sleep: until the instrument has something to do or the next character has gone
// out, but at least a millisecond while characters go out, so that a fast line is written a few
// characters at a time instead of waking for every one. Null: nothing is scheduled.
const timespec* waitTime(const CInstrument& instrument, const CLinePacer& pacer,
                         CInstrument::Clock::time_point now, timespec* storage)
{
    using namespace std::chrono;
    const int instrumentMs = instrument.msUntilDue(now);
    nanoseconds wait = nanoseconds::max();
    if (instrumentMs >= 0)
        wait = milliseconds(instrumentMs);
    if (!pacer.idle())
        wait = std::min<nanoseconds>(wait,
                                     std::max<nanoseconds>(pacer.nextDue() - now, milliseconds(1)));
    if (wait == nanoseconds::max())
        return nullptr;
    storage->tv_sec = static_cast<time_t>(wait.count() / 1'000'000'000);
    storage->tv_nsec = static_cast<long>(wait.count() % 1'000'000'000);
    return storage;
}

// Closing the master discards what the program has not read yet, which a real line never takes
// back: before hanging up, give the program up to five seconds to read what was sent. poll() on
// the slave also counts bytes still on their way into its input queue (a kernel worker moves
// them there), which FIONREAD does not.
void waitUntilRead(const Pty& pty)
{
    for (int i = 0; i < 1000 && !stopRequested; ++i) {
        pollfd pfd{pty.slave, POLLIN, 0};
        if (::poll(&pfd, 1, 0) == 0)
            return;
        ::usleep(5000);
    }
}

void run(const SimOptions& options, const Pty& pty, const sigset_t& waitMask)
{
    CInstrument instrument(options, CInstrument::Clock::now());
    CLinePacer pacer;
    const CLinePacer::Writer write = [&](std::string_view bytes) {
        return writeWire(pty.master, bytes);
    };
    // After a hang-up the lines already started still go out (the last one possibly cut).
    while (!stopRequested && !(instrument.hungUp() && pacer.idle())) {
        timespec timeout{};
        const timespec* wait = waitTime(instrument, pacer, CInstrument::Clock::now(), &timeout);
        pollfd pfd{pty.master, POLLIN, 0};
        const int ready = ::ppoll(&pfd, 1, wait, &waitMask);
        if (ready < 0 && errno != EINTR)
            break;
        const auto now = CInstrument::Clock::now();
        instrument.setLineMatches(lineMatches(pty.master, options.baud));
        pacer.setCharacterTime(options.instant ? std::chrono::nanoseconds(0)
                                               : characterTime(pty.master, options.baud));
        if (ready > 0 && (pfd.revents & POLLIN)) {
            char buffer[256];
            const ssize_t n = ::read(pty.master, buffer, sizeof buffer);
            if (n > 0) {
                const std::string bytes(buffer, static_cast<std::size_t>(n));
                if (options.verbose)
                    std::fprintf(stderr, "< %s\n", printable(bytes).c_str());
                queueAll(pacer, instrument, instrument.receive(bytes, now), now);
            }
        }
        instrument.setLinesWaiting(pacer.lines());
        queueAll(pacer, instrument, instrument.tick(now), now);
        const auto sent = pacer.transmit(now, write);
        if (options.verbose)
            logSent(sent);
    }
    if (!instrument.hungUp())
        return;
    waitUntilRead(pty);
    if (options.verbose)
        std::fprintf(stderr, "va7310-sim: hanging up after %d lines\n", instrument.linesSent());
}

} // namespace

int main(int argc, char** argv)
{
    ignoreFileSizeSignal(); // its log goes to files
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
