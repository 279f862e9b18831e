#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

#include "files/OutputFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/OutputPlace.h"
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

enum class Ending { Complete, WriterFails, SizeLimit };

// Writes bytes the way a writer of that kind does: to the stream, or by name as a library
// (fopen "wb" of the path it was given, as libxlsxwriter does).
int writeOutput(COutputFile& out, COutputFile::Writer writer, const std::string& bytes)
{
    if (writer == COutputFile::Writer::Stream)
        return std::fwrite(bytes.data(), 1, bytes.size(), out.stream()) == bytes.size() ? 0 : errno;
    std::FILE* file = std::fopen(out.writePath().c_str(), "wb");
    if (!file)
        return errno;
    int error = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() ? 0 : errno;
    if (std::fclose(file) != 0 && error == 0)
        error = errno;
    return error;
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

// Every kind of output, written whole or failing part-way, by a stream writer and by a library
// that writes by name: a failure leaves the place as it was, success puts the bytes where the
// path leads, with the older file's mode.
TEST(OutputFile, OutputsByFailures)
{
    const std::string small = "new bytes\n";
    const std::string large(64 * 1024, 'n'); // beyond the size limit below
    for (auto writer : {COutputFile::Writer::Stream, COutputFile::Writer::ByName}) {
        for (OutputKind kind : {OutputKind::NewName, OutputKind::OlderFile, OutputKind::Link,
                                OutputKind::Fifo, OutputKind::Device}) {
            for (Ending ending : {Ending::Complete, Ending::WriterFails, Ending::SizeLimit}) {
                if (ending == Ending::SizeLimit && kind == OutputKind::Fifo)
                    continue; // a pipe has no file size
                SCOPED_TRACE(std::string(outputKindName(kind)) + ", ending " +
                             std::to_string(static_cast<int>(ending)) + ", by name " +
                             std::to_string(writer == COutputFile::Writer::ByName));
                TempDir dir;
                COutputPlace place(dir, kind, "out.csv");
                COutputFile out;
                ASSERT_EQ(out.open(place.path(), writer), 0);
                EXPECT_EQ(out.direct(), !place.regular());
                int result = 0;
                {
                    FileSizeLimit limit(ending == Ending::SizeLimit ? 4096 : RLIM_INFINITY);
                    result = writeOutput(out, writer, ending == Ending::SizeLimit ? large : small);
                    if (result == 0 && ending != Ending::WriterFails)
                        result = out.commit();
                }
                if (result != 0 || ending == Ending::WriterFails)
                    out.discard();
                if (ending == Ending::Complete) {
                    EXPECT_EQ(result, 0);
                    EXPECT_EQ(place.received(), place.regular() || kind == OutputKind::Fifo
                                                    ? small
                                                    : std::string());
                        if (kind == OutputKind::OlderFile || kind == OutputKind::Link) {
                        EXPECT_EQ(fs::status(place.path()).permissions(), fs::perms(0640));
                    }
                } else if (place.regular()) {
                    EXPECT_EQ(result, ending == Ending::SizeLimit ? EFBIG : 0);
                    EXPECT_TRUE(place.unharmed());
                } else {
                    EXPECT_TRUE(place.unharmed());
                }
            }
        }
    }
}

// Names of open descriptors write to the descriptor itself, at its offset: a file the shell
// redirected to is neither truncated nor replaced.
TEST(OutputFile, DescriptorNamesWriteTheDescriptor)
{
    TempDir dir;
    writeFile(dir.file("log.txt"), "earlier lines\n");
    const int fd = ::open(dir.file("log.txt").c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    struct stat before {};
    ::stat(dir.file("log.txt").c_str(), &before);
    for (const std::string& name : {"/dev/fd/" + std::to_string(fd),
                                    "/proc/self/fd/" + std::to_string(fd)}) {
        COutputFile out;
        ASSERT_EQ(out.open(name), 0) << name;
        EXPECT_TRUE(out.direct());
        std::fputs("added\n", out.stream());
        EXPECT_EQ(out.commit(), 0);
    }
    ::close(fd);
    struct stat info {};
    ::stat(dir.file("log.txt").c_str(), &info);
    EXPECT_EQ(info.st_ino, before.st_ino);
    EXPECT_EQ(readFile(dir.file("log.txt")), "earlier lines\nadded\nadded\n");
}

// A regular file under /dev (a tmpfs such as /dev/shm) is replaced like any other.
TEST(OutputFile, RegularFilesUnderDevAreReplaced)
{
    if (!fs::is_directory("/dev/shm"))
        GTEST_SKIP() << "no /dev/shm";
    const std::string path = "/dev/shm/ventora-output-test-" + std::to_string(::getpid()) + ".csv";
    writeFile(path, "old");
    COutputFile out;
    ASSERT_EQ(out.open(path), 0);
    EXPECT_FALSE(out.direct());
    std::fputs("new", out.stream());
    out.discard();
    EXPECT_EQ(readFile(path), "old");
    fs::remove(path);
}
