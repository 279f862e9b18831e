// port.ini as the COM names are resolved through it.
#include <cstdint>
#include <string_view>

#include "core/CText.h"
#include "serial/ComName.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int number : {1, 2, 3, 12}) {
        const auto path = comPathInIni(text, number);
        if (!path)
            continue;
        FUZZ_CHECK(!path->empty());
        FUZZ_CHECK(ctext::trimBoth(*path).size() == path->size());
        FUZZ_CHECK(path->find('\n') == std::string::npos);
    }
    return 0;
}
