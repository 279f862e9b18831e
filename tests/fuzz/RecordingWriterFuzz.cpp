// The recording writer given any data texts (the instrument's lines), then the record reader
// reading the file back. Input: texts, each a length byte followed by that many bytes.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "files/RecordFileReader.h"
#include "files/RecordingWriter.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempDir.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TempDir dir;
    static CFixedClock clock(2024, 5, 17, 10, 20, 30);
    CScriptedMessageBox messages;
    CRecordingWriter writer(dir.file("dump.ivt"), clock, messages);
    FUZZ_CHECK(writer.emptyFile());

    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t expectedBytes = 0, expectedRows = 0;
    bool lineBreakInText = false;
    while (!input.empty()) {
        const std::size_t length = static_cast<unsigned char>(input[0]);
        const std::string_view text = input.substr(1, length);
        input.remove_prefix(std::min(input.size(), length + 1));
        writer.appendDataText(text);
        if (text.size() != kDataTextLength || text.find('\0') != std::string_view::npos)
            continue; // never written
        // Date-time, "#", the text, CR CR LF; every line feed of the text gains a CR.
        expectedBytes += 19 + 1 + text.size() + 3;
        for (char c : text)
            if (c == '\n') {
                ++expectedBytes;
                lineBreakInText = true;
            }
        ++expectedRows;
    }
    FUZZ_CHECK(messages.shown().empty());
    std::error_code error;
    FUZZ_CHECK(std::filesystem::file_size(dir.file("dump.ivt"), error) == expectedBytes);

    CDataTable rows;
    FUZZ_CHECK(readRecordFile(dir.file("dump.ivt"), rows, messages));
    if (!lineBreakInText) {
        FUZZ_CHECK(rows.rowCount() == expectedRows);
        for (std::size_t row = 0; row < rows.rowCount(); ++row)
            FUZZ_CHECK(rows.dateTime(row) == "2024/05/17 10:20:30");
    }
    return 0;
}
