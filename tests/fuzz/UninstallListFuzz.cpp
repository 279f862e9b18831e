// Uninstall lists as the uninstaller reads them before deleting what they name.
#include <cstdint>
#include <string_view>

#include "core/CText.h"
#include "tests/fuzz/FuzzCheck.h"
#include "uninstall/Uninstaller.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
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
    return 0;
}
