#include "uninstall/Uninstaller.h"

#include <unistd.h>

#include "core/CText.h"
#include "core/LineReader.h"

namespace {

std::string join(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

// Marks the pieces of one line read in several pieces, unless everything after the first piece
// is white space (a path of exactly 127 characters followed by its line end).
void markLongLine(std::vector<CListPiece>& pieces, std::size_t first)
{
    bool tailIsBlank = true;
    for (std::size_t i = first + 1; i < pieces.size(); ++i)
        tailIsBlank = tailIsBlank && pieces[i].text.empty();
    if (tailIsBlank)
        return;
    for (std::size_t i = first; i < pieces.size(); ++i)
        pieces[i].partOfLongLine = true;
}

void readListPieces(CLineReader& reader, std::vector<CListPiece>& pieces)
{
    pieces.clear();
    std::string_view piece;
    std::size_t lineStart = 0;
    while (reader.next(piece)) {
        bool endsLine = !piece.empty() && piece.back() == '\n';
        pieces.push_back({std::string(ctext::trimRight(piece)), false});
        if (endsLine) {
            markLongLine(pieces, lineStart);
            lineStart = pieces.size();
        }
    }
    if (lineStart < pieces.size())
        markLongLine(pieces, lineStart);
}

} // namespace

bool readUninstallList(const std::string& path, std::vector<CListPiece>& pieces)
{
    pieces.clear();
    CLineReader reader(kListPieceLength);
    if (!reader.open(path))
        return false;
    readListPieces(reader, pieces);
    // A list that cannot be read whole is no list: nothing of it is deleted.
    if (reader.error() != 0)
        pieces.clear();
    return reader.error() == 0;
}

void readUninstallListText(std::string_view bytes, std::vector<CListPiece>& pieces)
{
    CLineReader reader(kListPieceLength);
    reader.openText(bytes);
    readListPieces(reader, pieces);
}

std::string uninstallCompleteText(int outside)
{
    std::string text = kUninstallComplete;
    if (outside > 0)
        text += "\r\n" + std::to_string(outside) +
                (outside == 1 ? " listed file lies" : " listed files lie") +
                " outside the installation folder and " + (outside == 1 ? "was" : "were") +
                " left alone.";
    return text;
}

void removeConfined(const CConfinedTarget& target)
{
    const int folder = openConfinedFolder(target);
    if (folder < 0)
        return;
    // unlinkat() removes a file or a symbolic link itself and refuses folders; every failure
    // (missing, read-only folder, a folder named in the list) is skipped without a word.
    ::unlinkat(folder, target.name.c_str(), 0);
    ::close(folder);
}

int removeListedFiles(const std::vector<CListPiece>& pieces, const CConfinedFolder& scope,
                      const RemovalCall& remove)
{
    int outside = 0;
    for (const CListPiece& piece : pieces) {
        if (piece.text.empty() || piece.partOfLongLine)
            continue;
        CConfinedTarget target;
        switch (scope.resolve(piece.text, target)) {
        case Confinement::Inside:
            remove(target);
            break;
        case Confinement::Outside:
            ++outside;
            break;
        case Confinement::Unresolved: // its folder is gone: nothing to delete
            break;
        }
    }
    return outside;
}

CConfinedFolder installationScope(const std::string& folder, const CShellFolders& shell)
{
    CConfinedFolder scope(folder);
    scope.allowFile(joinPath(joinPath(shell.programs, kLauncherFolder), kLauncherName));
    scope.allowFile(joinPath(shell.desktop, kLauncherName));
    return scope;
}

RemovalOutcome CUninstaller::run(const std::string& folder, const CShellFolders& shell)
{
    std::string listPath = join(folder, kRemovalListName);
    std::vector<CListPiece> pieces;
    if (!readUninstallList(listPath, pieces))
        return RemovalOutcome::NoList;

    const int outside = removeListedFiles(pieces, installationScope(folder, shell));
    ::unlink(listPath.c_str());
    ::unlink(join(folder, "License.txt").c_str());

    std::string menuFolder = join(shell.programs, "Norvik");
    ::unlink(join(menuFolder, kRemovalLauncher).c_str());
    ::rmdir(menuFolder.c_str());

    for (int position = 0; position <= kRemovalSteps; ++position) {
        progress_.setProgress(position);
        progress_.pause(300);
    }
    messages_.tell(uninstallCompleteText(outside), MessageIcon::Information);
    return RemovalOutcome::Removed;
}
