// The setup's welcome and licence texts as the wizard loads them into its text boxes.
#include <cstdint>
#include <string_view>

#include "setup/TextLoader.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string text = "left over";
    FUZZ_CHECK(readSetupText(std::string_view(reinterpret_cast<const char*>(data), size), text) ==
               0);
    // Every line ends in CR LF, and no other CR or LF is left.
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == '\n');
            FUZZ_CHECK(i - lineStart <= kTextPieceLength);
            lineStart = i + 2;
            ++i;
        } else {
            FUZZ_CHECK(text[i] != '\n');
        }
    }
    FUZZ_CHECK(lineStart == text.size());
    return 0;
}
