// Connection.ini as the program reads it at start-up.
#include <cstdint>
#include <string_view>

#include "app/SettingsFiles.h"
#include "core/CText.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CConnConfig config;
    readConnectionSettings(std::string_view(reinterpret_cast<const char*>(data), size), config);
    // The search's results are never read from the file.
    FUZZ_CHECK(config.linkPort == 0 && config.linkBaudrate == 0);
    FUZZ_CHECK(ctext::trimBoth(config.ipAddress).size() == config.ipAddress.size());
    FUZZ_CHECK(config.ipAddress.size() < 79);
    return 0;
}
