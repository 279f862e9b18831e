#pragma once
// The command line of Skyvane8u, after Qt has taken out its own options: nothing, one record
// or log file to open in its viewer at start (the extension rule of File > Open), or --help.

#include <string>
#include <vector>

struct CStartArguments {
    enum class Action { Run, Help, Bad };
    Action action = Action::Run;
    std::string file;  // the file to open at start; empty for none
    std::string error; // for Bad: what is wrong, one line without the program's name
};

// args[0] is the program. "--" ends the options, so a file name may start with "-".
CStartArguments parseStartArguments(const std::vector<std::string>& args);

// The --help text.
extern const char* const kStartUsage;
