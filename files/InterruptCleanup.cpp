#include "files/InterruptCleanup.h"

#include <csignal>
#include <cstring>
#include <limits.h>
#include <unistd.h>

namespace {

// The handler may only read plain memory: the path is copied into a fixed buffer while the
// signals are blocked, so the handler never sees half of it.
char cleanupPath[PATH_MAX];
volatile std::sig_atomic_t armed = 0;
const void* cleanupOwner = nullptr;

void onInterrupt(int signal)
{
    if (armed)
        ::unlink(cleanupPath);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

CInterruptsHeld::CInterruptsHeld()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigprocmask(SIG_BLOCK, &set, &previous_);
}

CInterruptsHeld::~CInterruptsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

void installInterruptCleanup()
{
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void setInterruptCleanupFile(const void* owner, const std::string& path)
{
    CInterruptsHeld held;
    if (path.size() >= sizeof cleanupPath)
        return; // no new file has a path this long: creating it would have failed
    std::memcpy(cleanupPath, path.c_str(), path.size() + 1);
    cleanupOwner = owner;
    armed = 1;
}

void clearInterruptCleanupFile(const void* owner)
{
    CInterruptsHeld held;
    if (cleanupOwner != owner)
        return;
    armed = 0;
    cleanupOwner = nullptr;
}
