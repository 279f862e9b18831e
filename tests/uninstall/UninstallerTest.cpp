#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"
#include "uninstall/Uninstaller.h"

namespace fs = std::filesystem;

namespace {

class CRecordingRemoval final : public IRemovalProgress {
public:
    void setProgress(int position) override { events.push_back("bar " + std::to_string(position)); }
    void pause(int milliseconds) override
    {
        events.push_back("pause " + std::to_string(milliseconds));
    }
    std::vector<std::string> events;
};

// An installation folder with a few files, the uninstaller among them, and a start menu whose
// "Norvik" folder holds the uninstall launcher.
class UninstallerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = dir_.file("Quillon6");
        programs_ = dir_.file("applications");
        fs::create_directories(folder_);
        fs::create_directories(programs_ + "/Norvik");
        for (const char* name : {"License.txt", "Skyvane8u", "port.ini", "plant.bmp",
                                 "BrevantUninstall", "dump.ivt"})
            writeFile(file(name), name);
        writeFile(launcher(), "[Desktop Entry]\n");
    }

    std::string file(const std::string& name) const { return folder_ + "/" + name; }
    std::string launcher() const { return programs_ + "/Norvik/UnInstall_Quillon6.desktop"; }
    void writeList(const std::string& text) const
    {
        writeFile(file("UnInstall_Quillon6.txt"), text);
    }

    RemovalOutcome run()
    {
        CUninstaller uninstaller(messages_, progress_);
        return uninstaller.run(folder_, {programs_, dir_.file("Desktop")});
    }

    TempDir dir_;
    std::string folder_;
    std::string programs_;
    CScriptedMessageBox messages_;
    CRecordingRemoval progress_;
};

TEST_F(UninstallerTest, DeletesExactlyTheListedFiles)
{
    std::string outside = dir_.file("outside.cfg");
    writeFile(outside, "x");
    writeList(file("Skyvane8u") + "\r\r\n" + file("port.ini") + "  \t\r\r\n" + outside + "\r\r\n" +
              file("port.ini") + "\r\r\n" + file("never-installed.dll") + "\r\r\n\r\r\n");

    EXPECT_EQ(run(), RemovalOutcome::Removed);
    for (const char* gone : {"Skyvane8u", "port.ini", "UnInstall_Quillon6.txt", "License.txt"})
        EXPECT_FALSE(fs::exists(file(gone))) << gone;
    // A file outside the installation folder is never deleted, and the message counts it.
    EXPECT_TRUE(fs::exists(outside));
    for (const char* kept : {"plant.bmp", "BrevantUninstall", "dump.ivt"})
        EXPECT_TRUE(fs::exists(file(kept))) << kept;
    EXPECT_FALSE(fs::exists(launcher()));
    EXPECT_FALSE(fs::exists(programs_ + "/Norvik"));
    EXPECT_TRUE(fs::exists(folder_));

    EXPECT_EQ(messages_.shown(),
              (std::vector<ShownMessage>{{"Uninstall Complete.\r\nPlease remove Quillon6 Folder "
                                          "manually.\r\n1 listed file lies outside the "
                                          "installation folder and was left alone.",
                                          MessageIcon::Information, false}}));
    std::vector<std::string> expected;
    for (int position = 0; position <= 6; ++position) {
        expected.push_back("bar " + std::to_string(position));
        expected.push_back("pause 300");
    }
    EXPECT_EQ(progress_.events, expected);
}

TEST_F(UninstallerTest, NoListClosesSilentlyAndDeletesNothing)
{
    // What the setup writes is not the list this uninstaller reads.
    writeFile(file("UnInstall_Skyvane8u.txt"), file("Skyvane8u") + "\r\r\n");
    writeFile(file("UnInstall_Skyvane8.txt"), file("plant.bmp") + "\r\r\n");

    EXPECT_EQ(run(), RemovalOutcome::NoList);
    EXPECT_TRUE(messages_.shown().empty());
    EXPECT_TRUE(progress_.events.empty());
    for (const char* kept : {"License.txt", "Skyvane8u", "plant.bmp", "UnInstall_Skyvane8u.txt"})
        EXPECT_TRUE(fs::exists(file(kept))) << kept;
    EXPECT_TRUE(fs::exists(launcher()));
}

TEST_F(UninstallerTest, FoldersAndLinkTargetsAreLeftAlone)
{
    fs::create_directories(file("logs"));
    std::string target = dir_.file("target.txt");
    writeFile(target, "kept");
    fs::create_symlink(target, file("link"));
    writeFile(programs_ + "/Norvik/Skyvane8u.desktop", "another launcher");
    writeList(file("logs") + "\r\r\n" + file("link") + "\r\r\n");

    EXPECT_EQ(run(), RemovalOutcome::Removed);
    EXPECT_TRUE(fs::is_directory(file("logs")));
    EXPECT_FALSE(fs::is_symlink(file("link")));
    EXPECT_EQ(readFile(target), "kept");
    // A start-menu folder that still holds something stays.
    EXPECT_FALSE(fs::exists(launcher()));
    EXPECT_TRUE(fs::exists(programs_ + "/Norvik/Skyvane8u.desktop"));
}

TEST_F(UninstallerTest, LinesLongerThan127CharactersAreReadInPiecesAndSkipped)
{
    // A 200-character line: its first 127 characters and its remaining 73 both name files here,
    // yet neither is a path of the list.
    fs::current_path(folder_);
    std::string head = file(std::string(127 - folder_.size() - 1, 'h'));
    std::string tail(73, 't');
    writeFile(head, "head");
    writeFile(file(tail), "tail");
    std::string exact = file(std::string(127 - folder_.size() - 1, 'e'));
    writeFile(exact, "exact");
    writeList(head + tail + "\r\r\n" + exact + "\r\r\n" + file("port.ini"));

    std::vector<CListPiece> pieces;
    ASSERT_TRUE(readUninstallList(file("UnInstall_Quillon6.txt"), pieces));
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[0].text, head);
    EXPECT_EQ(pieces[1].text, tail);
    EXPECT_TRUE(pieces[0].partOfLongLine && pieces[1].partOfLongLine);
    // A path of exactly 127 characters: only its line end spills into a second piece.
    EXPECT_EQ(pieces[2].text, exact);
    EXPECT_EQ(pieces[3].text, "");
    EXPECT_FALSE(pieces[2].partOfLongLine);
    EXPECT_EQ(pieces[4].text, file("port.ini"));

    EXPECT_EQ(run(), RemovalOutcome::Removed);
    fs::current_path(dir_.path());
    EXPECT_TRUE(fs::exists(head));
    EXPECT_TRUE(fs::exists(file(tail)));
    EXPECT_FALSE(fs::exists(exact));
    EXPECT_FALSE(fs::exists(file("port.ini")));
}

// Only what resolves inside the installation folder is deleted, and the launchers the setup
// made; every other line is left alone and counted.
TEST_F(UninstallerTest, DeletesOnlyInsideTheInstallation)
{
    fs::create_directories(file("sub"));
    fs::create_directories(dir_.file("Desktop"));
    fs::create_directory_symlink(dir_.path(), file("home-link"));
    fs::create_directory_symlink(file("sub"), file("inner"));
    const struct Row {
        std::string line;   // as listed
        std::string file;   // the file it names, created before the run
        bool deleted;
        bool counted;       // counted as outside
    } rows[] = {
        {file("a"), file("a"), true, false},
        {"b", file("b"), true, false}, // relative: from the installation folder
        {file("inner/c"), file("sub/c"), true, false},
        {programs_ + "/Norvik/Skyvane8u.desktop", programs_ + "/Norvik/Skyvane8u.desktop", true,
         false},
        {dir_.file("Desktop/Skyvane8u.desktop"), dir_.file("Desktop/Skyvane8u.desktop"), true,
         false},
        {dir_.file("thesis.pdf"), dir_.file("thesis.pdf"), false, true},
        {"../x.txt", dir_.file("x.txt"), false, true},
        {file("sub/../d"), file("d"), false, true},
        {file("home-link/e.txt"), dir_.file("e.txt"), false, true},
        {file("f") + std::string(1, '\0') + "tail", file("f"), false, true},
        {programs_ + "/Norvik/other.desktop", programs_ + "/Norvik/other.desktop", false, true},
        {file("gone/missing"), "", false, false},
    };
    std::string list;
    int outside = 0;
    for (const Row& row : rows) {
        list += row.line + "\r\r\n";
        if (!row.file.empty())
            writeFile(row.file, "listed");
        outside += row.counted ? 1 : 0;
    }
    writeList(list);
    EXPECT_EQ(run(), RemovalOutcome::Removed);
    for (const Row& row : rows) {
        if (!row.file.empty()) {
            EXPECT_EQ(fs::exists(row.file), !row.deleted) << row.file;
        }
    }
    EXPECT_EQ(messages_.texts(), std::vector<std::string>{uninstallCompleteText(outside)});
    EXPECT_NE(uninstallCompleteText(outside).find("6 listed files lie outside"), std::string::npos);
}

} // namespace
