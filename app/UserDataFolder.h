#pragma once
// Where an installed copy keeps its per-user files. A copy in a folder of its own that it can
// write (the setup's, ./run's) works in the working directory, as always. A copy that cannot
// write its folder, or that is installed beside a shared data folder (<prefix>/bin with
// <prefix>/share/ventora, as the package puts it), works in $XDG_DATA_HOME/ventora instead:
// its settings files and dump.ivt live there, and a shipped settings file that is missing there
// is copied from the shared folder at start.

#include <string>

// <programFolder>/../share/ventora.
std::string sharedDataFolder(const std::string& programFolder);

// True when the program should keep its files in the per-user folder: its folder cannot be
// written, or the shared data folder beside it exists.
bool usesUserDataFolder(const std::string& programFolder, bool programFolderWritable);

// $XDG_DATA_HOME/ventora, or $HOME/.local/share/ventora when XDG_DATA_HOME is unset, empty or
// relative (as the XDG base directory rules have it); empty when neither gives a folder.
std::string userDataFolder(const char* xdgDataHome, const char* home);

// Creates folder (with its parents) and copies into it each regular file of seedFolder that it
// lacks; a file already there is never replaced, and a copy appears whole or not at all.
// 0 or the errno of the first failure (a missing seed folder is no failure).
int prepareUserDataFolder(const std::string& folder, const std::string& seedFolder);

struct CWorkingFolder {
    std::string folder;   // the per-user folder, empty when the working directory is the place
    bool entered = false; // it is now the working directory
    int error = 0;        // errno when it could not be made, seeded or entered
};

// Start-up of the monitoring program: decides from the program's own folder (the folder of
// /proc/self/exe) and the environment, and makes the per-user folder the working directory
// when it is used. When it cannot be entered the working directory stays.
CWorkingFolder enterWorkingFolder();
