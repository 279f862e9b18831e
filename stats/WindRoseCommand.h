#pragma once
// ventora-convert --wind-rose FILE.ivt ROSE.png: the wind rose of a record file as a PNG
// picture (WindRosePainter.h), drawn without a display.

#include <cstdio>

inline constexpr const char* kWindRoseUsage =
    "usage: ventora-convert --wind-rose FILE.ivt ROSE.png\n"
    "Draws the wind rose of a record file (16 sectors, speed classes) into a PNG picture.\n";

// Runs the command for the arguments after "--wind-rose"; messages go to err. Exit codes as
// the converter's: 0 done, 1 a file could not be read or written, 2 bad arguments.
int runWindRoseCommand(int argc, const char* const* argv, std::FILE* err = stderr);
