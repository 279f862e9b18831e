#pragma once
// Command-line options of ventora-record and their parser.

#include <string>
#include <vector>

#include "tools/record/MqttOptions.h"

struct RecordOptions {
    std::string port;             // "COMn" or a device path; empty: search COM1-COM3
    int baud = 0;                 // one of the instrument's five rates; 0: try each
    std::string out = "dump.ivt"; // the recording file, relative to the working folder
    bool truncate = false;        // empty the file at start instead of appending
    bool rotateDaily = false;     // one file per local day: the name with -YYYYMMDD
    bool echo = false;            // each sample also on standard output, as a CSV line
    MqttOptions mqtt{};           // publishing, or the archiver
};

enum class RecordParse { Run, Help, Error };

// Parses the arguments after the program name ("--baud 38400" or "--baud=38400"); on Error
// *message says in one line what is wrong.
RecordParse parseRecordOptions(const std::vector<std::string>& args, RecordOptions* options,
                               std::string* message);

std::string recordUsage();
