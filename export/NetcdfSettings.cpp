#include "export/NetcdfSettings.h"

#include "stats/CivilTime.h"

std::optional<std::string> udunitsSpeedUnit(std::string_view instrumentUnit)
{
    // The units the instrument's set-up menu offers, with the usual other spellings.
    struct Spelling {
        std::string_view instrument;
        const char* udunits;
    };
    static constexpr Spelling kSpellings[] = {
        {"m/s", "m s-1"}, {"km/h", "km h-1"}, {"knots", "knot"}, {"knot", "knot"},
        {"kn", "knot"},   {"kt", "knot"},     {"mph", "mi h-1"}, {"ft/s", "ft s-1"},
    };
    for (const Spelling& s : kSpellings) {
        if (s.instrument == instrumentUnit)
            return std::string(s.udunits);
    }
    return std::nullopt;
}

void NetcdfConversion::leaveOut(std::int64_t local)
{
    if (nonexistent++ == 0)
        firstNonexistent = formatCivilDateTime(local);
}
