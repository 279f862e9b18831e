#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "app/StartArguments.h"
#include "app/UserDataFolder.h"
#include "tests/support/TempDir.h"

namespace {

using Action = CStartArguments::Action;

TEST(StartArguments, CommandLines)
{
    struct Row {
        std::vector<std::string> args;
        Action action;
        const char* file;
        const char* error;
    };
    const Row rows[] = {
        {{"Skyvane8u"}, Action::Run, "", ""},
        {{"Skyvane8u", "/data/dump.ivt"}, Action::Run, "/data/dump.ivt", ""},
        {{"Skyvane8u", "day.lvt"}, Action::Run, "day.lvt", ""},
        {{"Skyvane8u", "--", "-odd.ivt"}, Action::Run, "-odd.ivt", ""},
        // Help wins wherever it stands among the options, even beside options only Qt knows.
        {{"Skyvane8u", "-platform", "offscreen", "--help"}, Action::Help, "", ""},
        {{"Skyvane8u", "a.ivt", "-h"}, Action::Help, "", ""},
        {{"Skyvane8u", "--", "--help"},
         Action::Bad,
         "",
         "--help: not a record (.ivt) or log (.lvt) file"},
        // The extension rule of File > Open: lower case, exactly.
        {{"Skyvane8u", "DUMP.IVT"},
         Action::Bad,
         "",
         "DUMP.IVT: not a record (.ivt) or log (.lvt) file"},
        {{"Skyvane8u", "notes.txt"},
         Action::Bad,
         "",
         "notes.txt: not a record (.ivt) or log (.lvt) file"},
        {{"Skyvane8u", "a.ivt", "b.lvt"}, Action::Bad, "", "one file at a time"},
        {{"Skyvane8u", "--port"}, Action::Bad, "", "unknown option --port"},
    };
    for (const Row& row : rows) {
        const CStartArguments parsed = parseStartArguments(row.args);
        EXPECT_EQ(parsed.action, row.action) << row.args.back();
        EXPECT_EQ(parsed.file, row.file) << row.args.back();
        EXPECT_EQ(parsed.error, row.error) << row.args.back();
    }
}

TEST(UserDataFolder, WhereTheFilesLive)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "usr/bin");
    std::filesystem::create_directories(dir.path() / "usr/share/ventora");
    std::filesystem::create_directories(dir.path() / "opt/Skyvane8u");
    const std::string packaged = dir.file("usr/bin");
    const std::string ownFolder = dir.file("opt/Skyvane8u");
    EXPECT_EQ(sharedDataFolder(packaged), dir.file("usr/share/ventora"));

    struct Row {
        const std::string& programFolder;
        bool writable;
        bool perUser;
    };
    const Row rows[] = {
        {ownFolder, true, false}, // the setup's or ./run's copy: the working directory
        {ownFolder, false, true}, // a folder it cannot write
        {packaged, false, true},  // installed for everybody
        {packaged, true, true},   // installed, run by root, who can write /usr/bin
    };
    for (const Row& row : rows)
        EXPECT_EQ(usesUserDataFolder(row.programFolder, row.writable), row.perUser)
            << row.programFolder << " " << row.writable;

    EXPECT_EQ(userDataFolder("/data/alice", "/home/alice"), "/data/alice/ventora");
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/data"})
        EXPECT_EQ(userDataFolder(ignored, "/home/alice"), "/home/alice/.local/share/ventora");
    EXPECT_EQ(userDataFolder(nullptr, ""), "");
}

TEST(UserDataFolder, MissingSettingsFilesAreCopiedAndTheUsersAreKept)
{
    TempDir dir;
    const std::string shared = dir.file("share");
    std::filesystem::create_directories(shared + "/subfolder");
    writeFile(shared + "/Connection.ini", "CONN_MODE=0\n");
    writeFile(shared + "/port.ini", "COM1=/dev/ttyS0\n");
    chmod((shared + "/port.ini").c_str(), 0444);
    const std::string folder = dir.file("home/.local/share/ventora");

    ASSERT_EQ(prepareUserDataFolder(folder, shared), 0);
    EXPECT_EQ(readFile(folder + "/Connection.ini"), "CONN_MODE=0\n");
    EXPECT_EQ(readFile(folder + "/port.ini"), "COM1=/dev/ttyS0\n");
    struct stat info {};
    ASSERT_EQ(stat((folder + "/port.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0600, 0600u); // the user's to edit
    EXPECT_FALSE(std::filesystem::exists(folder + "/subfolder"));

    // The user's own file stays; one the user removed comes back; nothing else is left behind.
    writeFile(folder + "/Connection.ini", "CONN_MODE=1\n");
    std::filesystem::remove(folder + "/port.ini");
    writeFile(folder + "/dump.ivt", "recorded");
    ASSERT_EQ(prepareUserDataFolder(folder, shared), 0);
    EXPECT_EQ(readFile(folder + "/Connection.ini"), "CONN_MODE=1\n");
    EXPECT_EQ(readFile(folder + "/port.ini"), "COM1=/dev/ttyS0\n");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Connection.ini", "dump.ivt", "port.ini"}));

    // No shared folder (a read-only copy of the setup's installation): an empty folder.
    EXPECT_EQ(prepareUserDataFolder(dir.file("other"), dir.file("missing")), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("other")));
    // A folder that cannot be made.
    writeFile(dir.file("file"), "");
    EXPECT_EQ(prepareUserDataFolder(dir.file("file/ventora"), shared), ENOTDIR);
}

} // namespace
