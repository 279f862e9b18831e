#pragma once
// The two settings files of the working directory: Skyvane8u.ini (handbook text and server
// port) and Connection.ini (connection settings). Both are read line by line with the quirks
// users' existing files depend on; see the functions below.

#include <string>
#include <string_view>

#include "core/ConnConfig.h"
#include "core/MessageBox.h"

struct PackageSettings {
    std::string handbook;
    int serverPort = 0;
};

inline constexpr const char* kPackageSettingsFile = "Skyvane8u.ini";
inline constexpr const char* kConnectionSettingsFile = "Connection.ini";

// The working directory followed by one separator: the base of every data-file path.
std::string currentAppDirectory();

// Reads appDirectory/Skyvane8u.ini in pieces of at most 127 characters. A piece containing
// "HANDBOOK" stores the text after its first "=", a piece containing "SERVER_PORT=" stores the
// number after its first "="; both trimmed, later lines win. A missing file is reported with a
// plain message box and leaves the settings empty.
void loadPackageSettings(const std::string& appDirectory, PackageSettings& settings,
                         IMessageBox& messages);

// Reads appDirectory/Connection.ini in pieces of at most 79 characters. For each of the eight
// keys that a piece contains, the value is the piece without its first key-length characters,
// trimmed: a key that does not start its line therefore reads the wrong characters. linkPort
// and linkBaudrate are never touched. A missing file keeps the current values.
void loadConnectionSettings(const std::string& appDirectory, CConnConfig& config,
                            IMessageBox& messages);

// The same readings from a file's bytes in memory (tests and fuzzing feed them this way).
void readPackageSettings(std::string_view bytes, PackageSettings& settings);
void readConnectionSettings(std::string_view bytes, CConnConfig& config);
