#include "setup/TextLoader.h"

#include <cerrno>
#include <new>
#include <stdexcept>

#include "core/LineReader.h"
#include "core/MemoryLimit.h"

namespace {

int readPieces(CLineReader& reader, std::string& text)
{
    try {
        // Room for the text and a line break every 16 characters or so; the size is a hint.
        text.reserve(reservationHint(reader.fileSize() + reader.fileSize() / 16));
        std::string_view piece;
        while (reader.next(piece)) {
            for (char c : piece) {
                if (c != '\r' && c != '\n')
                    text += c;
            }
            text += "\r\n";
        }
        if (reader.error() != 0) {
            std::string().swap(text);
            return reader.error();
        }
    } catch (const std::bad_alloc&) {
        std::string().swap(text);
        return ENOMEM;
    } catch (const std::length_error&) {
        std::string().swap(text);
        return ENOMEM;
    }
    return 0;
}

} // namespace

int loadSetupText(const std::string& path, std::string& text)
{
    text.clear();
    CLineReader reader(kTextPieceLength);
    errno = 0;
    if (!reader.open(path))
        return errno;
    if (!fileFitsInMemory(reader.fileSize()))
        return EFBIG;
    return readPieces(reader, text);
}

int readSetupText(std::string_view bytes, std::string& text)
{
    text.clear();
    CLineReader reader(kTextPieceLength);
    reader.openText(bytes);
    return readPieces(reader, text);
}
