// Save As: the dialog request, the extension rule and its message, and a copy that never
// damages what is there when it fails.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FileSizeLimit.h"
#include "tests/support/OutputPlace.h"
#include "tests/support/ScriptedFileDialog.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"
#include "viewers/SaveAs.h"

namespace {

const std::string kContent = "2026/03/14 10:20:30#    1.00   220.5\r\r\n";

class SaveAs : public ::testing::Test {
protected:
    SaveAs() { writeFile(source(), kContent); }

    std::string source() const { return dir.file("dump.ivt"); }
    SaveAsResult save(const std::string& answer, ViewerFile kind = ViewerFile::Record)
    {
        dialog.answers = {answer};
        return saveFileAs(kind, source(), dir.directory(), dialog, messages);
    }

    TempDir dir;
    CScriptedFileDialog dialog;
    CScriptedMessageBox messages;
};

} // namespace

TEST_F(SaveAs, EachViewerAsksWithItsOwnExtensionAndFilter)
{
    const CFileDialogRequest record = saveAsRequest(ViewerFile::Record, "/data/");
    EXPECT_EQ(record.defaultExtension, "ivt");
    EXPECT_EQ(record.defaultName, "Ventora");
    EXPECT_EQ(record.initialDirectory, "/data/");
    EXPECT_EQ(record.filter, "Instrument Ventora files (*.ivt;)|*.ivt||");
    const CFileDialogRequest log = saveAsRequest(ViewerFile::Log, "/data/");
    EXPECT_EQ(log.defaultExtension, "lvt");
    EXPECT_EQ(log.filter, "Logger Ventora files (*.lvt;)|*.lvt||");

    save("");
    ASSERT_EQ(dialog.saveRequests, std::vector<bool>{true});
    EXPECT_EQ(dialog.requests[0].initialDirectory, dir.directory());
}

TEST_F(SaveAs, OnlyTheExactExtensionIsCopied)
{
    struct Row {
        const char* name;
        ViewerFile kind;
        SaveAsResult result;
    };
    const Row rows[] = {
        {"copy.ivt", ViewerFile::Record, SaveAsResult::Saved},
        {"copy.lvt", ViewerFile::Log, SaveAsResult::Saved},
        {"upper.IVT", ViewerFile::Record, SaveAsResult::BadExtension},
        {"other.lvt", ViewerFile::Record, SaveAsResult::BadExtension},
        {"other.ivt", ViewerFile::Log, SaveAsResult::BadExtension},
        {"text.txt", ViewerFile::Record, SaveAsResult::BadExtension},
        {"bare", ViewerFile::Record, SaveAsResult::BadExtension},
        {"double.ivt.bak", ViewerFile::Record, SaveAsResult::BadExtension},
    };
    for (const Row& row : rows) {
        messages.clear();
        const std::string target = dir.file(row.name);
        EXPECT_EQ(save(target, row.kind), row.result) << row.name;
        if (row.result == SaveAsResult::Saved) {
            EXPECT_EQ(readFile(target), kContent) << row.name;
            EXPECT_TRUE(messages.shown().empty()) << row.name;
        } else {
            EXPECT_FALSE(std::filesystem::exists(target)) << row.name;
            EXPECT_EQ(messages.shown(),
                      (std::vector<ShownMessage>{
                          {std::string(kBadExtensionMessage), MessageIcon::Stop, false}}))
                << row.name;
        }
    }
    EXPECT_EQ(save(""), SaveAsResult::Cancelled);
}

TEST_F(SaveAs, AnExistingFileIsReplacedWhole)
{
    writeFile(dir.file("old.ivt"), std::string(100000, 'x'));
    EXPECT_EQ(save(dir.file("old.ivt")), SaveAsResult::Saved);
    EXPECT_EQ(readFile(dir.file("old.ivt")), kContent);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"dump.ivt", "old.ivt"}));
}

TEST_F(SaveAs, SavingOntoTheOpenedFileChangesNothing)
{
    std::filesystem::create_hard_link(source(), dir.file("link.ivt"));
    for (const std::string& target :
         {source(), dir.directory() + "./dump.ivt", dir.file("link.ivt")}) {
        EXPECT_EQ(save(target), SaveAsResult::SameFile) << target;
        EXPECT_EQ(readFile(source()), kContent) << target;
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SaveAs, AFailedCopyIsReportedAndLeavesTheChosenFileAlone)
{
    const std::vector<ShownMessage> failed = {
        {std::string(kSaveFailedMessage), MessageIcon::Stop, false}};
    // A folder that does not exist.
    EXPECT_EQ(save(dir.file("missing/copy.ivt")), SaveAsResult::Failed);
    EXPECT_EQ(messages.shown(), failed);

    // A full disk: the copy stops part way; the file that was there stays as it was and the
    // partial copy is removed.
    messages.clear();
    writeFile(source(), std::string(64 * 1024, 'r'));
    writeFile(dir.file("kept.ivt"), "kept");
    {
        FileSizeLimit limit(4096);
        EXPECT_EQ(save(dir.file("kept.ivt")), SaveAsResult::Failed);
    }
    EXPECT_EQ(messages.shown(), failed);
    EXPECT_EQ(readFile(dir.file("kept.ivt")), "kept");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"dump.ivt", "kept.ivt"}));

    // The opened file has gone since it was read.
    messages.clear();
    std::filesystem::remove(source());
    EXPECT_EQ(save(dir.file("copy.ivt")), SaveAsResult::Failed);
    EXPECT_EQ(messages.shown(), failed);
    EXPECT_FALSE(std::filesystem::exists(dir.file("copy.ivt")));
}

// Save As writes as every output does: the file a link leads to gets the copy, an older file's
// mode is kept, and any valid name works (the new file beside it gets a shorter one).
TEST_F(SaveAs, TheCopyFollowsTheOutputRule)
{
    for (OutputKind kind : {OutputKind::OlderFile, OutputKind::Link}) {
        TempDir folder;
        COutputPlace place(folder, kind, "copy.ivt");
        EXPECT_EQ(save(place.path()), SaveAsResult::Saved) << outputKindName(kind);
        EXPECT_EQ(place.received(), kContent) << outputKindName(kind);
        EXPECT_EQ(std::filesystem::status(place.path()).permissions(),
                  std::filesystem::perms(0640));
    }
    for (std::size_t length : {241u, 255u}) {
        const std::string target = dir.file(std::string(length - 4, 'n') + ".ivt");
        EXPECT_EQ(save(target), SaveAsResult::Saved) << length;
        EXPECT_EQ(readFile(target), kContent) << length;
    }
}
