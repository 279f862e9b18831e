#pragma once
// The last page's Finish: when asked for, the desktop launcher is recorded in
// "UnInstall_Skyvane8.txt" and created; then every file that list names inside the
// installation (its folder, the desktop launcher) gets normal attributes.

#include <string>

struct CFinishRequest {
    std::string installFolder;
    std::string programName;
    std::string desktopFolder;
    bool desktopLauncher = true;
};

// Number of files whose attributes were set.
int finishSetup(const CFinishRequest& request);

inline constexpr std::size_t kFinishLineLength = 511;
