#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "setup/SetupCopy.h"
#include "setup/SetupTexts.h"
#include "tests/setup/RecordingProgress.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kWindowsFiles = {"Skyvane8u.exe", "Skyvane8u.ini", "port.ini",
                                                "Connection.ini", "plant.bmp",    "Msvcp60.dll",
                                                "MSVCRT.DLL",     "MFC42.DLL"};
const std::vector<std::string> kLinuxFiles = {"Skyvane8u", "Skyvane8u.ini", "port.ini",
                                              "Connection.ini", "plant.bmp"};

// A source folder laid out like a kit (every file with distinct contents), an installation
// folder that does not exist yet, and private start-menu and desktop folders.
class SetupCopyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folders_.programs = dir_.file("home/applications");
        folders_.desktop = dir_.file("home/Desktop");
        state_.sourceFolder = dir_.directory() + "kit/";
        state_.installFolder = dir_.file("Skyvane8u");
        fs::create_directories(dir_.path() / "kit/data/ENG");
        fs::create_directories(dir_.path() / "kit/data/ITA");
        writeFile(dir_.file("kit/data/ENG/License.txt"), "english licence\r\n");
        writeFile(dir_.file("kit/data/ITA/License.txt"), "licenza italiana\r\n");
    }

    void addSourceFiles(const std::vector<std::string>& names)
    {
        for (const auto& name : names)
            writeFile(dir_.file("kit/data/" + name), "contents of " + name + "\n");
    }

    CopyOutcome run(const CCopyPlan& plan)
    {
        CSetupCopy copy(plan, folders_, messages_, progress_);
        return copy.run(state_);
    }

    std::string installed(const std::string& name) const
    {
        return state_.installFolder + "/" + name;
    }

    std::string listText() const { return readFile(installed("UnInstall_Skyvane8u.txt")); }

    std::string expectedList(const std::vector<std::string>& names) const
    {
        std::string text = installed("License.txt") + "\r\r\n";
        for (const auto& name : names)
            text += installed(name) + "\r\r\n";
        return text + folders_.programs + "/Norvik/Skyvane8u.desktop\r\r\n";
    }

    TempDir dir_;
    CShellFolders folders_;
    CSetupState state_;
    CScriptedMessageBox messages_;
    CRecordingProgress progress_;
};

TEST_F(SetupCopyTest, WindowsTableInstallsNineFilesAndListsTenLines)
{
    addSourceFiles(kWindowsFiles);
    ASSERT_EQ(run(windowsCopyPlan()), CopyOutcome::GoOn);

    EXPECT_TRUE(messages_.shown().empty());
    EXPECT_EQ(listText(), expectedList(kWindowsFiles));
    EXPECT_EQ(readFile(installed("License.txt")), "licenza italiana\r\n");
    for (const auto& name : kWindowsFiles)
        EXPECT_EQ(readFile(installed(name)), "contents of " + name + "\n") << name;
    EXPECT_TRUE(fs::exists(folders_.programs + "/Norvik/Skyvane8u.desktop"));
    EXPECT_EQ(progress_.steps, 12);
    EXPECT_EQ(progress_.pausedMs, 8000);
}

TEST_F(SetupCopyTest, ProgressStatusAndPausesFollowTheTableInOrder)
{
    addSourceFiles(kWindowsFiles);
    state_.language = Language::English;
    ASSERT_EQ(run(windowsCopyPlan()), CopyOutcome::GoOn);

    const std::vector<std::string> expected = {
        "wait", "no-cancel", "step", "show-status",
        "status Copying... License.Txt", "pause 500",
        "status Copying... Skyvane8u.exe", "pause 500", "step", "step", "pause 500",
        "status Copying... Skyvane8u.ini", "pause 500", "pause 500",
        "status Copying... port.ini", "pause 500", "step", "step", "pause 500",
        "status Copying... Connection.ini", "pause 500", "step", "step", "pause 500",
        "status Copying... plant.bmp", "pause 500", "step", "step", "pause 500",
        "status Copying... Msvcp60.dll", "step", "step",
        "status Copying... MSVCRT.DLL", "pause 500",
        "status Copying... MFC42.DLL",
        "pause 1000", "step", "pause 1000", "arrow"};
    EXPECT_EQ(progress_.events, expected);
    EXPECT_EQ(readFile(installed("License.txt")), "english licence\r\n");
}

TEST_F(SetupCopyTest, LinuxTableInstallsTheProgramExecutable)
{
    addSourceFiles(kLinuxFiles);
    // A kit whose program is setuid installs a plain executable.
    ASSERT_EQ(::chmod(dir_.file("kit/data/Skyvane8u").c_str(), 06755), 0);
    ASSERT_EQ(run(linuxCopyPlan()), CopyOutcome::GoOn);

    EXPECT_TRUE(messages_.shown().empty());
    EXPECT_EQ(fs::status(installed("Skyvane8u")).permissions(), fs::perms(0755));
    EXPECT_EQ(listText(), expectedList(kLinuxFiles));
    // The folder step, four rows of two steps and the final step fill the bar exactly.
    EXPECT_EQ(progress_.steps, 10);
    std::string launcher = readFile(folders_.programs + "/Norvik/Skyvane8u.desktop");
    EXPECT_NE(launcher.find("Exec=\"" + installed("Skyvane8u") + "\"\n"), std::string::npos);
    EXPECT_NE(launcher.find("Path=" + state_.installFolder + "\n"), std::string::npos);
}

TEST_F(SetupCopyTest, ExistingFolderAnsweredNoCopiesNothing)
{
    for (Language language : {Language::Italian, Language::English}) {
        SCOPED_TRACE(static_cast<int>(language));
        addSourceFiles(kLinuxFiles);
        fs::create_directories(state_.installFolder);
        writeFile(installed("port.ini"), "user's own port.ini");
        state_.language = language;
        messages_.clear();
        progress_.events.clear();

        EXPECT_EQ(run(linuxCopyPlan()), CopyOutcome::Stay);
        ASSERT_EQ(messages_.shown().size(), 1u);
        EXPECT_EQ(messages_.shown()[0],
                  (ShownMessage{setupTexts(language).folderExists, MessageIcon::Question, true}));
        EXPECT_EQ(progress_.events, (std::vector<std::string>{"wait", "no-cancel", "arrow"}));
        EXPECT_EQ(readFile(installed("port.ini")), "user's own port.ini");
        EXPECT_FALSE(fs::exists(installed("UnInstall_Skyvane8u.txt")));
    }
    EXPECT_EQ(messages_.texts()[0], "Folder already exists.Do you want to overwrite it ?");
}

TEST_F(SetupCopyTest, ExistingFolderAnsweredYesIsOverwritten)
{
    addSourceFiles(kLinuxFiles);
    fs::create_directories(state_.installFolder);
    fs::permissions(state_.installFolder, fs::perms(0755));
    writeFile(installed("port.ini"), "old port.ini");
    writeFile(installed("UnInstall_Skyvane8u.txt"), "/old/line\r\r\n");
    messages_.answer(true);

    EXPECT_EQ(run(linuxCopyPlan()), CopyOutcome::GoOn);
    EXPECT_EQ(messages_.texts(),
              std::vector<std::string>{"La cartella scelta esiste gia'.Vuoi sovrascriverla ?"});
    EXPECT_EQ(readFile(installed("port.ini")), "contents of port.ini\n");
    EXPECT_EQ(listText(), expectedList(kLinuxFiles));
}

// An existing folder that others may write in, or that another user owns, is refused after
// the question: others could swap the program that the launchers start.
TEST_F(SetupCopyTest, ExistingFolderMustBeTheUsersAlone)
{
    const struct Row {
        const char* what;
        fs::perms mode;
        bool otherOwner;
    } rows[] = {{"group may write", fs::perms(0775), false},
                {"others may write", fs::perms(0757), false},
                {"another user's", fs::perms(0755), true}};
    addSourceFiles(kLinuxFiles);
    for (Language language : {Language::Italian, Language::English}) {
        for (const Row& row : rows) {
            if (row.otherOwner && ::geteuid() != 0)
                continue; // only root can give a folder away
            fs::create_directories(state_.installFolder);
            fs::permissions(state_.installFolder, row.mode);
            if (row.otherOwner) {
                ASSERT_EQ(::chown(state_.installFolder.c_str(), 65534, 65534), 0);
            }
            state_.language = language;
            messages_.clear();
            messages_.answer(true);
            EXPECT_EQ(run(linuxCopyPlan()), CopyOutcome::Stay) << row.what;
            EXPECT_EQ(messages_.shown(),
                      (std::vector<ShownMessage>{
                          {setupTexts(language).folderExists, MessageIcon::Question, true},
                          {setupTexts(language).folderNotPrivate, MessageIcon::Stop, false}}))
                << row.what;
            EXPECT_TRUE(fs::is_empty(state_.installFolder)) << row.what;
            fs::remove(state_.installFolder);
        }
    }
    EXPECT_EQ(setupTexts(Language::English).folderNotPrivate,
              "The folder belongs to another user or others may write in it.\n"
              "Please choose another folder.");
}

TEST_F(SetupCopyTest, FolderThatCannotBeCreatedEndsTheSetup)
{
    addSourceFiles(kLinuxFiles);
    for (std::string folder : {dir_.file("missing/parent/Skyvane8u"), dir_.file("two\nlines")}) {
        state_.installFolder = folder;
        messages_.clear();
        EXPECT_EQ(run(linuxCopyPlan()), CopyOutcome::EndSetup);
        EXPECT_EQ(messages_.shown(), (std::vector<ShownMessage>{
                                         {"error creating Skyvane8u folder\nSetup failed",
                                          MessageIcon::Stop, false}}));
        EXPECT_FALSE(fs::exists(folder));
    }
    EXPECT_EQ(progress_.events.back(), "arrow");
}

TEST_F(SetupCopyTest, MissingLicenceEndsTheSetupBeforeAnyOtherCopy)
{
    addSourceFiles(kLinuxFiles);
    fs::remove(dir_.file("kit/data/ITA/License.txt"));

    EXPECT_EQ(run(linuxCopyPlan()), CopyOutcome::EndSetup);
    EXPECT_EQ(messages_.shown(),
              (std::vector<ShownMessage>{{"Error in copia della licenza \nInstallazione fallita",
                                          MessageIcon::Stop, false}}));
    EXPECT_FALSE(fs::exists(installed("Skyvane8u")));
    EXPECT_TRUE(fs::exists(installed("UnInstall_Skyvane8u.txt")));
    EXPECT_EQ(listText(), "");
    EXPECT_FALSE(fs::exists(folders_.programs + "/Norvik"));
    EXPECT_EQ(progress_.events.back(), "arrow");
}

// Every other missing file is reported with its own message, recorded anyway, and the copy
// goes on to the end.
TEST_F(SetupCopyTest, OtherMissingFilesAreReportedAndStillListed)
{
    struct Row {
        std::string file;
        std::string message;
    };
    const std::string configuration =
        "Errore durante la copia dei file di configurazione (port.ini). \nInstallazione fallita";
    const std::vector<Row> rows = {
        {"Skyvane8u.exe", "Errore durante la copia dell' eseguibile \nInstallazione fallita"},
        {"Skyvane8u.ini", "Errore nella creazione della cartella Quillon2.\nInstallazione fallita"},
        {"port.ini", configuration},
        {"Connection.ini", configuration},
        {"plant.bmp", configuration},
        {"Msvcp60.dll", "Errore durante la copia del file Msvcp60.dll \nInstallazione fallita."},
        {"MSVCRT.DLL", "Errore durante la copia del file Msvcp60.dll \nInstallazione fallita."},
        {"MFC42.DLL", "Errore durante la copia del file Msvcp60.dll \nInstallazione fallita."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        fs::remove_all(state_.installFolder);
        addSourceFiles(kWindowsFiles);
        fs::remove(dir_.file("kit/data/" + row.file));
        messages_.clear();

        EXPECT_EQ(run(windowsCopyPlan()), CopyOutcome::GoOn);
        EXPECT_EQ(messages_.shown(),
                  (std::vector<ShownMessage>{{row.message, MessageIcon::Exclamation, false}}));
        EXPECT_EQ(listText(), expectedList(kWindowsFiles));
        EXPECT_FALSE(fs::exists(installed(row.file)));
    }
}

TEST_F(SetupCopyTest, ListThatCannotBeCreatedIsReportedAndTheFilesStillInstalled)
{
    addSourceFiles(kLinuxFiles);
    fs::create_directories(installed("UnInstall_Skyvane8u.txt"));
    messages_.answer(true);

    EXPECT_EQ(run(linuxCopyPlan()), CopyOutcome::GoOn);
    ASSERT_EQ(messages_.shown().size(), 2u);
    EXPECT_EQ(messages_.shown()[1], (ShownMessage{"Error : unable to open UnInstall_Skyvane8u.txt",
                                                  MessageIcon::Exclamation, false}));
    EXPECT_EQ(readFile(installed("plant.bmp")), "contents of plant.bmp\n");
    EXPECT_TRUE(fs::exists(folders_.programs + "/Norvik/Skyvane8u.desktop"));
}

TEST_F(SetupCopyTest, SourceFolderAtTheRootGetsNoDoubledSeparator)
{
    EXPECT_EQ(sourceFolderFrom("/"), "/");
    EXPECT_EQ(dataFolder(sourceFolderFrom("/")), "/data");
    EXPECT_EQ(languageFile(sourceFolderFrom("/"), Language::English, "Welcome.txt"),
              "/data/ENG/Welcome.txt");
    EXPECT_EQ(sourceFolderFrom("/media/kit"), "/media/kit/");
    EXPECT_EQ(sourceFolderFrom("/media/kit/"), "/media/kit/");

    // A source folder given without its separator installs the same files.
    addSourceFiles(kLinuxFiles);
    state_.sourceFolder = dir_.file("kit");
    EXPECT_EQ(run(linuxCopyPlan()), CopyOutcome::GoOn);
    EXPECT_TRUE(messages_.shown().empty());
}

} // namespace

// Names in the installation and start-menu folders that are symbolic links (to files outside,
// or to nothing) are replaced by what the setup writes; the files they lead to stay untouched.
TEST_F(SetupCopyTest, LinksAtDestinationsAreReplacedNotWrittenThrough)
{
    addSourceFiles(kLinuxFiles);
    fs::create_directories(state_.installFolder);
    fs::permissions(state_.installFolder, fs::perms(0755));
    fs::create_directories(folders_.programs + "/Norvik");
    writeFile(dir_.file("outside.txt"), "not ours");
    const std::string links[] = {installed("Skyvane8u"), installed("port.ini"),
                                 installed("UnInstall_Skyvane8u.txt"),
                                 folders_.programs + "/Norvik/Skyvane8u.desktop"};
    for (const std::string& link : links)
        fs::create_symlink(dir_.file("outside.txt"), link);
    fs::create_symlink(dir_.file("nowhere.txt"), installed("plant.bmp"));
    messages_.answer(true);

    ASSERT_EQ(run(linuxCopyPlan()), CopyOutcome::GoOn);
    EXPECT_EQ(readFile(dir_.file("outside.txt")), "not ours");
    EXPECT_FALSE(fs::exists(dir_.file("nowhere.txt")));
    for (const std::string& link : links)
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(link))) << link;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(installed("plant.bmp"))));
    EXPECT_EQ(readFile(installed("port.ini")), "contents of port.ini\n");
    EXPECT_EQ(listText(), expectedList(kLinuxFiles));
    // Nothing but the installed files is left in the folder: no new file beside them.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(state_.installFolder))
        ++entries;
    EXPECT_EQ(entries, kLinuxFiles.size() + 2); // with License.txt and the list
}
