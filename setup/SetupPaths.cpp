#include "setup/SetupPaths.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

#include "core/CText.h"

namespace {

std::string homeFolder(const EnvironmentLookup& environment)
{
    if (auto home = environment("HOME"); home && !home->empty())
        return withoutTrailingSeparator(*home);
    return "/";
}

// The value of XDG_DESKTOP_DIR in user-dirs.dirs: a quoted path, absolute or "$HOME/...".
std::optional<std::string> userDirsDesktop(const std::string& configHome, const std::string& home)
{
    std::ifstream in(configHome + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DESKTOP_DIR=";
    std::optional<std::string> result;
    while (std::getline(in, line)) {
        std::string_view text = ctext::trimBoth(line);
        if (text.substr(0, key.size()) != key)
            continue;
        text.remove_prefix(key.size());
        if (text.size() < 2 || text.front() != '"' || text.back() != '"')
            continue;
        std::string value(text.substr(1, text.size() - 2));
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        if (!value.empty() && value.front() == '/')
            result = withoutTrailingSeparator(value);
    }
    return result;
}

// An XDG base folder: the variable when it holds an absolute path, else the fallback.
std::string baseFolder(const EnvironmentLookup& environment, const char* name,
                       const std::string& fallback)
{
    auto value = environment(name);
    if (value && !value->empty() && value->front() == '/')
        return withoutTrailingSeparator(*value);
    return fallback;
}

} // namespace

EnvironmentLookup processEnvironment()
{
    return [](const char* name) -> std::optional<std::string> {
        if (const char* value = std::getenv(name))
            return std::string(value);
        if (std::string_view(name) == "HOME") {
            if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir)
                return std::string(entry->pw_dir);
        }
        return std::nullopt;
    };
}

std::string sourceFolderFrom(const std::string& folder)
{
    if (!folder.empty() && folder.back() == '/')
        return folder;
    return folder + "/";
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::string withoutTrailingSeparator(const std::string& folder)
{
    std::size_t end = folder.size();
    while (end > 1 && folder[end - 1] == '/')
        --end;
    return folder.substr(0, end);
}

std::string dataFolder(const std::string& sourceFolder)
{
    return sourceFolderFrom(sourceFolder) + "data";
}

const char* languageFolder(Language language)
{
    return language == Language::English ? "ENG" : "ITA";
}

std::string languageFile(const std::string& sourceFolder, Language language,
                         const std::string& name)
{
    return joinPath(joinPath(dataFolder(sourceFolder), languageFolder(language)), name);
}

std::string defaultInstallFolder(const EnvironmentLookup& environment)
{
    return joinPath(homeFolder(environment), "Skyvane8u");
}

CShellFolders shellFolders(const EnvironmentLookup& environment)
{
    std::string home = homeFolder(environment);
    CShellFolders folders;
    folders.programs =
        joinPath(baseFolder(environment, "XDG_DATA_HOME", joinPath(home, ".local/share")),
                 "applications");
    std::string configHome = baseFolder(environment, "XDG_CONFIG_HOME", joinPath(home, ".config"));
    if (auto desktop = userDirsDesktop(configHome, home))
        folders.desktop = *desktop;
    else
        folders.desktop = baseFolder(environment, "XDG_DESKTOP_DIR", joinPath(home, "Desktop"));
    return folders;
}
