#include "export/RecordNetcdf.h"

#include <cmath>

#include "core/CText.h"
#include "export/TimeSeriesFile.h"
#include "files/DataText.h"
#include "stats/RecordSamples.h"

namespace {

// The channels in the order of core/Channels.h. An empty unit is the speed unit.
struct ChannelVariable {
    const char* name;
    const char* standardName;
    const char* longName;
    const char* units;
};
constexpr ChannelVariable kChannelVariables[] = {
    {"wind_speed", "wind_speed", "wind speed", ""},
    {"wind_from_direction", "wind_from_direction", "wind direction (azimuth)", "degree"},
    {"air_pressure", "air_pressure", "air pressure", "hPa"},
    {"air_temperature", "air_temperature", "air temperature", "degC"},
    {"relative_humidity", "relative_humidity", "relative humidity", "percent"},
    {"ain4", nullptr, "analogue input 4", nullptr},
    {"u", "eastward_wind", "wind component U", ""},
    {"v", "northward_wind", "wind component V", ""},
    {"w", "upward_air_velocity", "wind component W", ""},
    {"uv_speed", "wind_speed", "wind speed in the U-V plane", ""},
    {"elevation", nullptr, "elevation angle of the wind", "degree"},
    {"speed_of_sound", "speed_of_sound_in_air", "speed of sound", ""},
    {"sonic_temperature", nullptr, "sonic temperature", "degC"},
};
constexpr int kChannels = static_cast<int>(std::size(kChannelVariables));

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number a field holds: nothing for a marker, for text that strtod reads no number from,
// and for a reading that is not finite.
std::optional<double> sampleValue(std::string_view field)
{
    if (hasFieldMarker(field))
        return std::nullopt;
    PlainDecimal decimal;
    if (parsePlainDecimal(field, decimal))
        return plainDecimalValue(decimal);
    const std::string_view text = ctext::trimLeft(field);
    const std::size_t i = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    const bool number =
        i < text.size() &&
        (isDigit(text[i]) || (text[i] == '.' && i + 1 < text.size() && isDigit(text[i + 1])));
    if (!number)
        return std::nullopt;
    const double value = ctext::toDouble(text);
    return std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace

NetcdfConversion writeRecordNetcdf(CRecordRowReader& reader, std::FILE* out,
                                   const NetcdfSettings& settings)
{
    CTimeSeriesFile file(settings);
    file.create("Wind measurements at " + settings.station, false);
    for (const ChannelVariable& c : kChannelVariables) {
        const std::string units = !c.units ? "" : *c.units ? c.units : settings.speedUnit;
        file.addQuantity({c.name, CNetcdfFile::Float, c.standardName, c.longName, units});
    }
    file.startRows();
    NetcdfConversion result;
    RecordSampleCounts counts;
    if (!readDatedRows(
            reader,
            [&](const CDataTable& row, std::int64_t local) {
                const std::optional<std::int64_t> utc = file.timeline().instant(local);
                if (!utc) {
                    result.leaveOut(local);
                    return true;
                }
                file.beginRow(*utc);
                for (int k = 0; k < kChannels; ++k)
                    file.set(k, sampleValue(row.field(0, k)));
                file.endRow();
                return !file.failed();
            },
            counts))
        result.readError = reader.error();
    result.rows = counts.rows;
    result.undated = counts.undated;
    file.close(out, result);
    return result;
}
