#pragma once
// Runs one of our programs as users run it, through the shell, and catches its exit code and
// what it writes.

#include <string>

#include "tests/support/TempDir.h"

struct ToolRun {
    int exitCode; // -1 when the program did not end by itself
    std::string out, err;
};

// Runs program with arguments (already quoted for the shell); its standard output and error go
// to the files "stdout" and "stderr" in dir. With fileBlocks above 0, no file it writes may grow
// beyond that many 512-byte blocks (sh's ulimit -f), as on a full disk.
ToolRun runTool(const std::string& program, const TempDir& dir, const std::string& arguments,
                int fileBlocks = 0);

#ifdef VENTORA_CONVERT
// ventora-convert, built beside the tests; the test targets that run it define VENTORA_CONVERT.
inline ToolRun convert(const TempDir& dir, const std::string& arguments, int fileBlocks = 0)
{
    return runTool(VENTORA_CONVERT, dir, arguments, fileBlocks);
}
#endif
