#include "setup/TextLoader.h"

#include <cerrno>

#include "core/LineReader.h"

int loadSetupText(const std::string& path, std::string& text)
{
    text.clear();
    CLineReader reader(kTextPieceLength);
    errno = 0;
    if (!reader.open(path))
        return errno != 0 ? errno : EISDIR;
    text.reserve(reader.fileSize() + reader.fileSize() / 16);
    std::string_view piece;
    while (reader.next(piece)) {
        for (char c : piece) {
            if (c != '\r' && c != '\n')
                text += c;
        }
        text += "\r\n";
    }
    return 0;
}
