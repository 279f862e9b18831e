#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "files/OutputFile.h"
#include "tests/support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// What the folder holds, by name: the contents of regular files, "-> target" for links.
std::map<std::string, std::string> listing(const TempDir& dir)
{
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        entries[name] = entry.is_symlink() ? "-> " + fs::read_symlink(entry.path()).string()
                                           : readFile(entry.path().string());
    }
    return entries;
}

} // namespace

// Whatever stands at the output path, a failed write leaves the folder exactly as it was, and a
// complete one changes only the file the path leads to.
TEST(OutputFile, ReplacesOnlyWhenCompleteAndFollowsLinks)
{
    const struct Case {
        const char* what;
        std::map<std::string, std::string> before; // "-> x" makes a symbolic link to x
        std::map<std::string, std::string> afterCommit;
    } cases[] = {
        {"new file", {}, {{"out.csv", "new"}}},
        {"existing file", {{"out.csv", "old"}}, {{"out.csv", "new"}}},
        {"link to a file",
         {{"out.csv", "-> real.csv"}, {"real.csv", "old"}},
         {{"out.csv", "-> real.csv"}, {"real.csv", "new"}}},
        {"link to nothing yet",
         {{"out.csv", "-> real.csv"}},
         {{"out.csv", "-> real.csv"}, {"real.csv", "new"}}},
        {"link to a link",
         {{"out.csv", "-> mid.csv"}, {"mid.csv", "-> real.csv"}, {"real.csv", "old"}},
         {{"out.csv", "-> mid.csv"}, {"mid.csv", "-> real.csv"}, {"real.csv", "new"}}},
    };
    for (const Case& c : cases) {
        for (bool complete : {false, true}) {
            TempDir dir;
            for (const auto& [name, content] : c.before) {
                if (content.starts_with("-> "))
                    fs::create_symlink(content.substr(3), dir.path() / name);
                else
                    writeFile(dir.file(name), content);
            }
            COutputFile out;
            ASSERT_EQ(out.open(dir.file("out.csv")), 0) << c.what;
            EXPECT_FALSE(out.direct()) << c.what;
            std::fputs("new", out.stream());
            if (complete)
                EXPECT_EQ(out.commit(), 0) << c.what;
            else
                out.discard();
            EXPECT_EQ(listing(dir), complete ? c.afterCommit : c.before) << c.what;
        }
    }
}

TEST(OutputFile, NewFilesGetTheUsualModeAndReplacedOnesKeepTheirs)
{
    TempDir dir;
    const mode_t mask = ::umask(022);
    COutputFile out;
    ASSERT_EQ(out.open(dir.file("new.csv")), 0);
    ASSERT_EQ(out.commit(), 0);
    EXPECT_EQ(fs::status(dir.file("new.csv")).permissions(), static_cast<fs::perms>(0644));

    writeFile(dir.file("shared.csv"), "old");
    fs::permissions(dir.file("shared.csv"), static_cast<fs::perms>(0664));
    ASSERT_EQ(out.open(dir.file("shared.csv")), 0);
    ASSERT_EQ(out.commit(), 0);
    EXPECT_EQ(fs::status(dir.file("shared.csv")).permissions(), static_cast<fs::perms>(0664));
    ::umask(mask);
}

// A device cannot be replaced: it is written directly, and a failure leaves it where it was.
TEST(OutputFile, DevicesAreWrittenDirectlyAndNeverRemoved)
{
    COutputFile out;
    ASSERT_EQ(out.open("/dev/full"), 0);
    EXPECT_TRUE(out.direct());
    EXPECT_EQ(out.writePath(), "/dev/full");
    std::fputs("text", out.stream());
    EXPECT_EQ(out.commit(), ENOSPC);
    struct stat info {};
    ASSERT_EQ(::stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));

    // A link to a device is a device too.
    TempDir dir;
    fs::create_symlink("/dev/full", dir.path() / "out.csv");
    ASSERT_EQ(out.open(dir.file("out.csv")), 0);
    EXPECT_TRUE(out.direct());
    std::fputs("text", out.stream());
    EXPECT_NE(out.commit(), 0);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "out.csv"));
}

TEST(OutputFile, RefusedOutputsLeaveNothingBehind)
{
    TempDir dir;
    fs::create_directory(dir.path() / "folder");
    COutputFile out;
    EXPECT_EQ(out.open(dir.file("folder")), EISDIR);
    EXPECT_EQ(out.open(dir.file("missing/out.csv")), ENOENT);
    fs::create_symlink("loop", dir.path() / "loop");
    EXPECT_NE(out.open(dir.file("loop")), 0);
    EXPECT_EQ(out.open(""), ENOENT);
    if (::geteuid() != 0) { // root may write anything
        writeFile(dir.file("read-only.csv"), "kept");
        fs::permissions(dir.file("read-only.csv"), static_cast<fs::perms>(0444));
        EXPECT_EQ(out.open(dir.file("read-only.csv")), EACCES);
        EXPECT_EQ(readFile(dir.file("read-only.csv")), "kept");
    }
    EXPECT_EQ(dir.names().size(), ::geteuid() != 0 ? 3u : 2u);
}
