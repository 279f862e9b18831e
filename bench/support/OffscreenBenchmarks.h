#pragma once
// main() of the benchmarks of window code: runs the benchmarks named on the command line in a
// QApplication, on the offscreen platform unless QT_QPA_PLATFORM names another, so that no
// display is needed.

#include <functional>

// prepare, when given, runs once the arguments are read and before the first benchmark (to
// write input files outside every timing). Returns main()'s exit code.
int runOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& prepare = {});
