// Uninstall lists as the uninstaller reads them and decides what to delete. The lists run
// against a real installation folder made once in the temporary folder: "@" in the input
// stands for its path. Nothing is deleted: the removal call only checks that what reaches it
// lies inside the folder, or is one of the setup's launchers.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "core/CText.h"
#include "tests/fuzz/FuzzCheck.h"
#include "uninstall/Uninstaller.h"

namespace fs = std::filesystem;

namespace {

// root/inst (the installation: sub/, in-link -> sub, out-link -> ../outside, root-link -> /),
// root/outside, root/apps/Norvik and root/Desktop; removed when the run ends.
struct Fixture {
    std::string root, inst;
    CShellFolders shell;
    Fixture()
    {
        std::string pattern = (fs::temp_directory_path() / "ventora-fuzz-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        inst = root + "/inst";
        shell = {root + "/apps", root + "/Desktop"};
        for (const char* folder : {"/inst/sub", "/outside", "/apps/Norvik", "/Desktop"})
            fs::create_directories(root + folder);
        fs::create_directory_symlink("sub", inst + "/in-link");
        fs::create_directory_symlink("../outside", inst + "/out-link");
        fs::create_directory_symlink("/", inst + "/root-link");
    }
    ~Fixture()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

bool isCanonical(const std::string& folder)
{
    std::error_code error;
    return fs::canonical(folder, error).string() == folder && !error;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const Fixture fixture;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<CListPiece> pieces;
    readUninstallListText(bytes, pieces);
    std::size_t total = 0;
    for (const CListPiece& piece : pieces) {
        FUZZ_CHECK(piece.text.size() <= kListPieceLength);
        FUZZ_CHECK(ctext::trimRight(piece.text).size() == piece.text.size());
        // What would be deleted is a whole line of the list, never a piece of a longer one.
        if (!piece.partOfLongLine && !piece.text.empty())
            FUZZ_CHECK(bytes.find(piece.text) != std::string_view::npos);
        total += piece.text.size();
    }
    FUZZ_CHECK(total <= size);

    // The same lines with "@" standing for the installation folder.
    std::vector<CListPiece> paths = pieces;
    for (CListPiece& piece : paths) {
        std::string text;
        for (char c : piece.text)
            text += c == '@' ? fixture.inst : std::string(1, c);
        piece.text = text;
    }
    const CConfinedFolder scope = installationScope(fixture.inst, fixture.shell);
    const std::string launcher = "Skyvane8u.desktop";
    const int outside = removeListedFiles(paths, scope, [&](const CConfinedTarget& target) {
        FUZZ_CHECK(isCanonical(target.folder));
        const bool inside =
            target.folder == scope.folder() || target.folder.starts_with(scope.folder() + "/");
        const bool aLauncher =
            target.name == launcher && (target.folder == fixture.shell.desktop ||
                                        target.folder == fixture.shell.programs + "/Norvik");
        FUZZ_CHECK(inside || aLauncher);
        FUZZ_CHECK(!target.name.empty() && target.name != "." && target.name != "..");
        FUZZ_CHECK(target.name.find_first_of(std::string_view("/\0", 2)) == std::string::npos);
    });
    FUZZ_CHECK(outside >= 0 && static_cast<std::size_t>(outside) <= paths.size());
    return 0;
}
