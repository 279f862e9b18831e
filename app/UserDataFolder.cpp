#include "app/UserDataFolder.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "core/SiblingFile.h"

namespace fs = std::filesystem;

namespace {

// Copies source to a new file beside target, then links it in under target's name: link()
// never replaces, so a file the user has is kept, and target is never seen half-written.
int copyIfMissing(const fs::path& source, const fs::path& target)
{
    std::string sibling;
    int fd = -1;
    if (int error = createSiblingFile(target.string(), sibling, fd); error != 0)
        return error;
    ::close(fd);
    std::error_code failure;
    fs::copy_file(source, sibling, fs::copy_options::overwrite_existing, failure);
    // The user's copy is the user's to edit, whatever the shipped file's mode.
    if (!failure)
        fs::permissions(sibling, fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add, failure);
    int error = failure.value();
    if (error == 0 && ::link(sibling.c_str(), target.c_str()) != 0 && errno != EEXIST)
        error = errno;
    ::unlink(sibling.c_str());
    return error;
}

} // namespace

std::string sharedDataFolder(const std::string& programFolder)
{
    return (fs::path(programFolder) / ".." / "share" / "ventora").lexically_normal().string();
}

bool usesUserDataFolder(const std::string& programFolder, bool programFolderWritable)
{
    std::error_code ignored;
    return !programFolderWritable || fs::is_directory(sharedDataFolder(programFolder), ignored);
}

std::string userDataFolder(const char* xdgDataHome, const char* home)
{
    if (xdgDataHome && xdgDataHome[0] == '/')
        return (fs::path(xdgDataHome) / "ventora").string();
    if (home && home[0] != '\0')
        return (fs::path(home) / ".local" / "share" / "ventora").string();
    return {};
}

int prepareUserDataFolder(const std::string& folder, const std::string& seedFolder)
{
    std::error_code failure;
    fs::create_directories(folder, failure);
    if (failure)
        return failure.value();
    fs::directory_iterator entries(seedFolder, failure);
    if (failure)
        return failure.value() == ENOENT ? 0 : failure.value();
    for (const fs::directory_entry& entry : entries) {
        std::error_code ignored;
        const fs::path target = fs::path(folder) / entry.path().filename();
        if (!entry.is_regular_file(ignored) || fs::exists(fs::symlink_status(target, ignored)))
            continue;
        if (int error = copyIfMissing(entry.path(), target); error != 0)
            return error;
    }
    return 0;
}

CWorkingFolder enterWorkingFolder()
{
    std::error_code failure;
    const fs::path program = fs::read_symlink("/proc/self/exe", failure);
    if (failure)
        return {};
    const std::string programFolder = program.parent_path().string();
    if (!usesUserDataFolder(programFolder, ::access(programFolder.c_str(), W_OK) == 0))
        return {};
    CWorkingFolder result;
    result.folder = userDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (result.folder.empty()) {
        result.folder = "$XDG_DATA_HOME/ventora";
        result.error = ENOENT;
        return result;
    }
    result.error = prepareUserDataFolder(result.folder, sharedDataFolder(programFolder));
    // A seed file that could not be copied is reported, but the folder is still the place:
    // the missing file is then reported by start-up as any missing settings file is.
    if (::chdir(result.folder.c_str()) == 0)
        result.entered = true;
    else if (result.error == 0)
        result.error = errno;
    return result;
}
