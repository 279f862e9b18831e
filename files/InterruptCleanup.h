#pragma once
// SIGINT and SIGTERM during a conversion: the unfinished new file of the output being written
// is removed, then the program ends as the signal ends it (the shell reports 130 or 143, and a
// loop over files stops). Programs that write outputs with COutputFile install it once.

#include <csignal>
#include <string>

void installInterruptCleanup();

// SIGINT and SIGTERM held back while it lives: a file is created and set below with no signal
// in between, so none can leave it behind.
class CInterruptsHeld {
public:
    CInterruptsHeld();
    ~CInterruptsHeld();
    CInterruptsHeld(const CInterruptsHeld&) = delete;
    CInterruptsHeld& operator=(const CInterruptsHeld&) = delete;

private:
    sigset_t previous_;
};

// The file the handler removes: set by the output that created it (owner), cleared by it when
// the file is renamed or removed. Clearing with another owner does nothing.
void setInterruptCleanupFile(const void* owner, const std::string& path);
void clearInterruptCleanupFile(const void* owner);
