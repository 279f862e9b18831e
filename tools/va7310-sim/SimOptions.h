#pragma once
// Command-line options of the VA7310 simulator and their parser.

#include <string>
#include <vector>

struct SimOptions {
    int mode = 232;          // 232: streams data lines; 485: answers polls
    int baud = 9600;         // the only line speed it understands
    int periodMs = 1000;     // RS232 streaming period
    std::string unit = "m/s";
    int address = 1;         // 0..15, the digit of framed commands
    std::string linkPath;    // symbolic link to the device, when not empty
    unsigned seed = 1;       // of the slowly varying values
    bool verbose = false;    // log traffic on standard error
    bool instant = false;    // send each line at once instead of taking the wire's time
    // Faults on demand; -1 or 0: off.
    int silentAfter = -1;    // send nothing after this many lines
    int garble = 0;          // drop the "&" of this many command replies
    int longAfter = -1;      // after this many lines, one over-long line
    int markersEvery = 0;    // every n-th data text carries a field marker
    int hangupAfter = -1;    // hang up after this many lines
    int hangupMidLine = -1;  // after this many lines, hang up half-way through the next one
};

enum class SimParse { Run, Help, Error };

// Parses the arguments after the program name ("--baud 38400" or "--baud=38400"); on Error
// *message says what is wrong.
SimParse parseSimOptions(const std::vector<std::string>& args, SimOptions* options,
                         std::string* message);

std::string simUsage();
