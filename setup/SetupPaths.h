#pragma once
// Where the setup reads and writes: the source folder and its data files, the installation
// folder, and the user's start-menu and desktop folders (freedesktop locations).

#include <functional>
#include <optional>
#include <string>

#include "setup/SetupState.h"

// Looks up an environment variable; empty optional when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// The process environment, with HOME falling back to the password database.
EnvironmentLookup processEnvironment();

// The folder with exactly one separator appended: "/" stays "/", "/opt/kit" becomes "/opt/kit/".
std::string sourceFolderFrom(const std::string& folder);

// folder + "/" + name; a folder that already ends in a separator gets no second one.
std::string joinPath(const std::string& folder, const std::string& name);

// Removes trailing separators, keeping "/" itself.
std::string withoutTrailingSeparator(const std::string& folder);

// source + "data".
std::string dataFolder(const std::string& sourceFolder);

// The welcome or licence text of a language: source + "data/ITA/" + name or "data/ENG/" + name.
std::string languageFile(const std::string& sourceFolder, Language language,
                         const std::string& name);

// "ENG" or "ITA".
const char* languageFolder(Language language);

// $HOME/Skyvane8u.
std::string defaultInstallFolder(const EnvironmentLookup& environment);

struct CShellFolders {
    // The start menu's programs folder: $XDG_DATA_HOME/applications.
    std::string programs;
    // The desktop: XDG_DESKTOP_DIR of user-dirs.dirs, else $HOME/Desktop.
    std::string desktop;
};

CShellFolders shellFolders(const EnvironmentLookup& environment);

inline constexpr const char* kLauncherFolder = "Norvik";
inline constexpr const char* kLauncherName = "Skyvane8u.desktop";
