#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include "setup/Launcher.h"
#include "setup/SetupPaths.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

std::string valueOf(const std::string& text, const std::string& key)
{
    std::size_t start = text.find("\n" + key + "=");
    if (start == std::string::npos)
        return "<missing>";
    start += key.size() + 2;
    return text.substr(start, text.find('\n', start) - start);
}

TEST(Launcher, ValuesAreEscapedForTheDesktopEntryFormat)
{
    struct Row {
        std::string folder;
        std::string exec;
        std::string path;
    };
    const Row rows[] = {
        {"/home/ada/Skyvane8u", "\"/home/ada/Skyvane8u/Skyvane8u\"", "/home/ada/Skyvane8u"},
        {"/opt/My Kit", "\"/opt/My Kit/Skyvane8u\"", "/opt/My Kit"},
        {"/opt/100%", "\"/opt/100%%/Skyvane8u\"", "/opt/100%"},
        {"/opt/a\"b$c`d", "\"/opt/a\\\\\"b\\\\$c\\\\`d/Skyvane8u\"", "/opt/a\"b$c`d"},
        {"/opt/back\\slash", "\"/opt/back\\\\\\\\slash/Skyvane8u\"", "/opt/back\\\\slash"},
    };
    for (const Row& row : rows) {
        std::string text = desktopEntryText(row.folder, "Skyvane8u");
        EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
        EXPECT_EQ(valueOf(text, "Exec"), row.exec) << row.folder;
        EXPECT_EQ(valueOf(text, "Path"), row.path) << row.folder;
        EXPECT_EQ(valueOf(text, "Type"), "Application");
    }
}

TEST(Launcher, WrittenLauncherIsExecutableAndValid)
{
    TempDir dir;
    std::string path = dir.file("Skyvane8u.desktop");
    writeFile(path, "old launcher");
    ASSERT_EQ(createLauncher(path, dir.file("My \"odd\" 100% folder"), "Skyvane8u"), 0);
    EXPECT_EQ(readFile(path), desktopEntryText(dir.file("My \"odd\" 100% folder"), "Skyvane8u"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IXUSR);

    EXPECT_NE(createLauncher(dir.file("no/such/folder/x.desktop"), "/opt", "Skyvane8u"), 0);

    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "desktop-file-validate is not installed";
    std::string command = "desktop-file-validate '" + path + "' > '" + dir.file("out") + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << readFile(dir.file("out"));
    EXPECT_EQ(readFile(dir.file("out")), "");
}

TEST(ShellFolders, FreedesktopLocations)
{
    TempDir dir;
    std::map<std::string, std::string> variables = {{"HOME", dir.file("home")}};
    EnvironmentLookup environment = [&](const char* name) -> std::optional<std::string> {
        auto found = variables.find(name);
        if (found == variables.end())
            return std::nullopt;
        return found->second;
    };
    std::string home = dir.file("home");

    CShellFolders folders = shellFolders(environment);
    EXPECT_EQ(folders.programs, home + "/.local/share/applications");
    EXPECT_EQ(folders.desktop, home + "/Desktop");
    EXPECT_EQ(defaultInstallFolder(environment), home + "/Skyvane8u");

    variables["XDG_DATA_HOME"] = "/data/";
    variables["XDG_DESKTOP_DIR"] = "/from/environment";
    folders = shellFolders(environment);
    EXPECT_EQ(folders.programs, "/data/applications");
    EXPECT_EQ(folders.desktop, "/from/environment");

    // user-dirs.dirs wins over the environment, with $HOME expanded.
    fs::create_directories(home + "/.config");
    writeFile(home + "/.config/user-dirs.dirs",
              "# written by xdg-user-dirs-update\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
              "XDG_DESKTOP_DIR=\"$HOME/Scrivania\"\n");
    EXPECT_EQ(shellFolders(environment).desktop, home + "/Scrivania");
    writeFile(home + "/.config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"/srv/desk/\"\n");
    EXPECT_EQ(shellFolders(environment).desktop, "/srv/desk");

    // Relative base folders are ignored, as the base directory rules say.
    variables["XDG_DATA_HOME"] = "relative";
    EXPECT_EQ(shellFolders(environment).programs, home + "/.local/share/applications");
}

TEST(SetupPaths, JoiningAndTrimming)
{
    EXPECT_EQ(joinPath("/a", "b"), "/a/b");
    EXPECT_EQ(joinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(joinPath("/", "b"), "/b");
    EXPECT_EQ(withoutTrailingSeparator("/a/b//"), "/a/b");
    EXPECT_EQ(withoutTrailingSeparator("/"), "/");
    EXPECT_EQ(languageFile("/kit/", Language::Italian, "License.txt"), "/kit/data/ITA/License.txt");
}

} // namespace
