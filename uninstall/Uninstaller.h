#pragma once
// The removal behind the uninstaller's "OK": deletes every file named in the uninstall list
// "UnInstall_Quillon6.txt" of the folder that lies inside the folder (or is a launcher the setup
// made), the list itself, the licence copy and the start-menu launcher, then shows the progress
// bar's seven positions and the completion message, which counts the lines left alone because
// they lead outside. The bar and its pauses are reached through IRemovalProgress, messages
// through IMessageBox.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/ConfinedFolder.h"
#include "core/MessageBox.h"
#include "setup/SetupPaths.h"

class IRemovalProgress {
public:
    virtual ~IRemovalProgress() = default;
    virtual void setProgress(int position) = 0;
    virtual void pause(int milliseconds) = 0;
};

// One piece of a list line as the list is read: at most 127 characters, trailing white space
// removed. Lines longer than that arrive in several pieces, all marked: a piece of a long line
// is no path of the list, and deleting it could remove a file that the list does not name.
struct CListPiece {
    std::string text;
    bool partOfLongLine = false;
};

inline constexpr std::size_t kListPieceLength = 127;
inline constexpr const char* kRemovalListName = "UnInstall_Quillon6.txt";
inline constexpr const char* kRemovalLauncher = "UnInstall_Quillon6.desktop";
inline constexpr const char* kUninstallComplete =
    "Uninstall Complete.\r\nPlease remove Quillon6 Folder manually.";
inline constexpr int kRemovalSteps = 6;

// The completion message when `outside` list lines were left alone.
std::string uninstallCompleteText(int outside);

// False when the list cannot be opened or read whole (pieces then empty).
bool readUninstallList(const std::string& path, std::vector<CListPiece>& pieces);
// The same reading from a list's bytes in memory.
void readUninstallListText(std::string_view bytes, std::vector<CListPiece>& pieces);

// The removal of one file: unlinkat() in its folder, opened by openConfinedFolder().
using RemovalCall = std::function<void(const CConfinedTarget& target)>;
void removeConfined(const CConfinedTarget& target);

// Removes what the whole lines of the list name inside the scope (through remove); returns the
// number of lines that lead outside it.
int removeListedFiles(const std::vector<CListPiece>& pieces, const CConfinedFolder& scope,
                      const RemovalCall& remove = removeConfined);

// The scope of an installation in folder: the folder, and the launchers the setup makes in the
// start menu and on the desktop.
CConfinedFolder installationScope(const std::string& folder, const CShellFolders& shell);

enum class RemovalOutcome {
    NoList,  // nothing deleted, nothing shown: the window just closes
    Removed, // files deleted, progress shown, completion message shown
};

class CUninstaller {
public:
    CUninstaller(IMessageBox& messages, IRemovalProgress& progress)
        : messages_(messages), progress_(progress)
    {
    }

    // folder: the installation folder (the current directory when the user confirms); shell:
    // the start menu's programs folder (holding "Norvik") and the desktop.
    RemovalOutcome run(const std::string& folder, const CShellFolders& shell);

private:
    IMessageBox& messages_;
    IRemovalProgress& progress_;
};
