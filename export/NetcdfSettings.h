#pragma once
// What a NetCDF file states beside the samples: the zone of the record file's local times, the
// speed unit, the station, and the file's provenance.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct NetcdfSettings {
    std::string zone = "UTC";        // database name of the zone the local times are in
    std::string speedUnit = "m s-1"; // UDUNITS text of the instrument's speed unit
    std::string station;             // the station's name (its timeseries_id)
    std::optional<double> latitude;  // degrees north
    std::optional<double> longitude; // degrees east
    std::optional<double> height;    // metres above the surface
    std::string institution = "unknown";
    std::string source;  // the record file's name
    std::string history; // when and by which command the file was made
};

// The UDUNITS text of a speed unit as the instrument reports it ("m/s", "km/h", "knots",
// "mph", "ft/s"); nothing for a unit it does not know.
std::optional<std::string> udunitsSpeedUnit(std::string_view instrumentUnit);

// What a conversion to NetCDF did.
struct NetcdfConversion {
    // Counts a row left out for a local time the zone does not have.
    void leaveOut(std::int64_t local);

    int readError = 0;            // nonzero: the input could not be read whole (errno or a limit)
    int writeError = 0;           // nonzero: the file could not be written (see failure)
    std::string failure;          // why
    long long rows = 0;           // rows read
    long long undated = 0;        // rows left out: no readable date-time
    long long nonexistent = 0;    // rows left out: a local time the zone does not have
    std::string firstNonexistent; // the first such time
};
