#pragma once
// SIGINT and SIGTERM during a conversion: the unfinished new file of the output being written
// is removed, then the program ends as the signal ends it (the shell reports 130 or 143, and a
// loop over files stops). Programs that write outputs with COutputFile install it once.

#include <string>

void installInterruptCleanup();

// The file the handler removes: set by the output that created it (owner), cleared by it when
// the file is renamed or removed. Clearing with another owner does nothing.
void setInterruptCleanupFile(const void* owner, const std::string& path);
void clearInterruptCleanupFile(const void* owner);
