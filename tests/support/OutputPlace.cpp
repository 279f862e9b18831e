#include "tests/support/OutputPlace.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

const char* outputKindName(OutputKind kind)
{
    static const char* const names[] = {"new name", "older file", "link to an older file",
                                        "FIFO",     "device",     "full disk (/dev/full)"};
    return names[static_cast<int>(kind)];
}

COutputPlace::COutputPlace(const TempDir& dir, OutputKind kind, const std::string& name)
    : dir_(dir), kind_(kind), path_(dir.file(name))
{
    switch (kind) {
    case OutputKind::NewName:
        break;
    case OutputKind::OlderFile:
        writeFile(path_, kOlderBytes);
        fs::permissions(path_, fs::perms(0640));
        break;
    case OutputKind::Link:
        writeFile(dir.file("older"), kOlderBytes);
        fs::permissions(dir.file("older"), fs::perms(0640));
        fs::create_symlink("older", path_);
        break;
    case OutputKind::Fifo:
        ::mkfifo(path_.c_str(), 0600);
        // Opened for reading and writing, so that a writer's open never waits and the reader
        // never meets the end: received() takes what is there once the writer is done.
        fifoReader_ = ::open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        ::fcntl(fifoReader_, F_SETPIPE_SZ, 1 << 20);
        break;
    case OutputKind::Device:
        path_ = "/dev/null";
        break;
    case OutputKind::FullDevice:
        path_ = "/dev/full";
        break;
    }
}

COutputPlace::~COutputPlace()
{
    if (fifoReader_ >= 0)
        ::close(fifoReader_);
}

std::string COutputPlace::received() const
{
    if (kind_ == OutputKind::Fifo) {
        std::string bytes;
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(fifoReader_, buffer, sizeof buffer)) > 0)
            bytes.append(buffer, static_cast<std::size_t>(got));
        return bytes;
    }
    if (kind_ == OutputKind::Device || kind_ == OutputKind::FullDevice)
        return {};
    return readFile(kind_ == OutputKind::Link ? dir_.file("older") : path_);
}

::testing::AssertionResult COutputPlace::unharmed() const
{
    struct stat info {};
    switch (kind_) {
    case OutputKind::NewName:
        if (fs::exists(fs::symlink_status(path_)))
            return ::testing::AssertionFailure() << "a file was left at " << path_;
        break;
    case OutputKind::OlderFile:
    case OutputKind::Link: {
        const std::string older = kind_ == OutputKind::Link ? dir_.file("older") : path_;
        if (kind_ == OutputKind::Link && !fs::is_symlink(path_))
            return ::testing::AssertionFailure() << "the link is gone";
        if (readFile(older) != kOlderBytes)
            return ::testing::AssertionFailure() << "the older file holds " << readFile(older);
        if (fs::status(older).permissions() != fs::perms(0640))
            return ::testing::AssertionFailure() << "the older file's mode changed";
        break;
    }
    case OutputKind::Fifo:
        if (::lstat(path_.c_str(), &info) != 0 || !S_ISFIFO(info.st_mode))
            return ::testing::AssertionFailure() << "the FIFO is gone";
        break;
    case OutputKind::Device:
    case OutputKind::FullDevice:
        if (::lstat(path_.c_str(), &info) != 0 || !S_ISCHR(info.st_mode))
            return ::testing::AssertionFailure() << path_ << " is no device any more";
        break;
    }
    for (const std::string& name : dir_.names())
        if (name.starts_with("."))
            return ::testing::AssertionFailure() << "a new file was left behind: " << name;
    return ::testing::AssertionSuccess();
}
