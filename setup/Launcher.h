#pragma once
// Program launchers: freedesktop .desktop files that start the installed program in the
// installation folder. They stand where the original platform had shell shortcuts.

#include <string>

// The text of a launcher for installFolder/program, with the installation folder as working
// folder and the installed plant picture as icon. Values are escaped for the desktop entry
// format, so any folder name is carried exactly.
std::string desktopEntryText(const std::string& installFolder, const std::string& program);

// Writes the launcher at path (replacing a file or a link that is there, never writing through
// it) and makes it executable, as desktops require of launchers they start. 0 or the errno of
// the failure.
int createLauncher(const std::string& path, const std::string& installFolder,
                   const std::string& program);
