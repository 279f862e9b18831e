#include <gtest/gtest.h>

#include <filesystem>

#include "setup/FinishPass.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class FinishPassTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        request_.installFolder = dir_.file("Skyvane8u");
        request_.programName = "Skyvane8u";
        request_.desktopFolder = dir_.file("Desktop");
        fs::create_directories(request_.installFolder);
    }

    std::string listPath() const { return request_.installFolder + "/UnInstall_Skyvane8.txt"; }
    std::string launcherPath() const { return request_.desktopFolder + "/Skyvane8u.desktop"; }

    TempDir dir_;
    CFinishRequest request_;
};

TEST_F(FinishPassTest, DesktopLauncherIsRecordedAndCreated)
{
    EXPECT_EQ(finishSetup(request_), 1);
    EXPECT_EQ(readFile(listPath()), launcherPath() + "\r\r\n");
    std::string launcher = readFile(launcherPath());
    EXPECT_NE(launcher.find("Exec=\"" + request_.installFolder + "/Skyvane8u\""),
              std::string::npos);

    // A second Finish into the same folder appends to the list; both lines are visited.
    EXPECT_EQ(finishSetup(request_), 2);
    EXPECT_EQ(readFile(listPath()), launcherPath() + "\r\r\n" + launcherPath() + "\r\r\n");
}

TEST_F(FinishPassTest, ClearedCheckBoxWritesNoList)
{
    request_.desktopLauncher = false;
    EXPECT_EQ(finishSetup(request_), 0);
    EXPECT_FALSE(fs::exists(listPath()));
    EXPECT_FALSE(fs::exists(launcherPath()));
}

// Only regular files inside the installation get owner write access: not a link's target, a
// folder, or a file outside the installation folder.
TEST_F(FinishPassTest, ListedFilesInsideTheInstallationGetOwnerWriteAccess)
{
    const std::string inside = request_.installFolder + "/read-only.txt";
    const std::string target = request_.installFolder + "/target.txt";
    const std::string link = request_.installFolder + "/link.txt";
    const std::string outside = dir_.file("outside.txt");
    const struct Row {
        std::string file;
        fs::perms after;
    } rows[] = {{inside, fs::perms(0755)}, {target, fs::perms(0444)}, {outside, fs::perms(0444)}};
    writeFile(inside, "x");
    fs::permissions(inside, fs::perms(0555));
    for (const std::string& path : {target, outside}) {
        writeFile(path, "y");
        fs::permissions(path, fs::perms(0444));
    }
    fs::create_symlink(target, link);
    writeFile(listPath(), inside + "  \t\r\r\n" + link + "\r\r\n" + outside + "\r\r\n" +
                              request_.installFolder + "/../outside.txt\r\r\n" +
                              dir_.file("Desktop") + "\r\r\n" + dir_.file("missing") +
                              "\r\r\n\r\r\n");
    request_.desktopLauncher = false;

    EXPECT_EQ(finishSetup(request_), 1);
    for (const Row& row : rows)
        EXPECT_EQ(fs::status(row.file).permissions(), row.after) << row.file;
}

TEST_F(FinishPassTest, UnwritableListStillCreatesTheLauncher)
{
    fs::create_directories(listPath());
    EXPECT_EQ(finishSetup(request_), 0);
    EXPECT_TRUE(fs::exists(launcherPath()));
}

} // namespace

// A desktop launcher or a desktop list that is a symbolic link is replaced: the file it leads to
// is neither written nor taken as a list of files to change.
TEST_F(FinishPassTest, LinksAtTheLauncherAndTheListAreReplaced)
{
    const std::string outside = dir_.file("outside.txt");
    const std::string outsideList = dir_.file("outside-list.txt");
    writeFile(outside, "not ours");
    fs::permissions(outside, static_cast<fs::perms>(0400));
    writeFile(outsideList, outside + "\r\r\n");
    fs::create_directories(request_.desktopFolder);
    fs::create_symlink(outside, launcherPath());
    fs::create_symlink(outsideList, listPath());

    EXPECT_EQ(finishSetup(request_), 1);
    EXPECT_EQ(readFile(outside), "not ours");
    EXPECT_EQ(fs::status(outside).permissions(), static_cast<fs::perms>(0400));
    EXPECT_EQ(readFile(outsideList), outside + "\r\r\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(launcherPath())));
    EXPECT_EQ(readFile(listPath()), launcherPath() + "\r\r\n");
    EXPECT_NE(readFile(launcherPath()).find("[Desktop Entry]"), std::string::npos);
}
