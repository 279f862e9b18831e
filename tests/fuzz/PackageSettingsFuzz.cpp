// Skyvane8u.ini as the program reads it at start-up.
#include <cstdint>
#include <string_view>

#include "app/SettingsFiles.h"
#include "core/CText.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A value with blanks around it: a handbook read from a file is trimmed, so it is never this.
    PackageSettings settings;
    settings.handbook = " left over ";
    readPackageSettings(std::string_view(reinterpret_cast<const char*>(data), size), settings);
    FUZZ_CHECK(settings.handbook != " left over ");
    FUZZ_CHECK(ctext::trimBoth(settings.handbook).size() == settings.handbook.size());
    FUZZ_CHECK(settings.handbook.size() < 127);
    return 0;
}
