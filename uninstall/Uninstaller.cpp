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
    return true;
}

void readUninstallListText(std::string_view bytes, std::vector<CListPiece>& pieces)
{
    CLineReader reader(kListPieceLength);
    reader.openText(bytes);
    readListPieces(reader, pieces);
}

RemovalOutcome CUninstaller::run(const std::string& folder, const std::string& programsFolder)
{
    std::string listPath = join(folder, kRemovalListName);
    std::vector<CListPiece> pieces;
    if (!readUninstallList(listPath, pieces))
        return RemovalOutcome::NoList;

    // unlink() removes a file or a symbolic link itself and refuses folders; every failure
    // (missing, read-only folder, a folder named in the list) is skipped without a word.
    for (const CListPiece& piece : pieces) {
        if (!piece.text.empty() && !piece.partOfLongLine)
            ::unlink(piece.text.c_str());
    }
    ::unlink(listPath.c_str());
    ::unlink(join(folder, "License.txt").c_str());

    std::string menuFolder = join(programsFolder, "Norvik");
    ::unlink(join(menuFolder, kRemovalLauncher).c_str());
    ::rmdir(menuFolder.c_str());

    for (int position = 0; position <= kRemovalSteps; ++position) {
        progress_.setProgress(position);
        progress_.pause(300);
    }
    messages_.tell(kUninstallComplete, MessageIcon::Information);
    return RemovalOutcome::Removed;
}
