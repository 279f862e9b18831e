#pragma once
// ventora-convert [--stats [PERIOD]] [OPTIONS] FILE.ivt OUT.nc: a record file, or its wind
// statistics, as a NetCDF-4 file with CF-1.10 metadata (RecordNetcdf.h, StatsNetcdf.h).

#include <cstdio>
#include <string>

#include "export/NetcdfSettings.h"

// The converter's help about NetCDF: its usage line, what it does, and its options.
inline constexpr const char* kNetcdfUsageLine =
    "ventora-convert [--stats [PERIOD]] [OPTIONS] FILE.ivt OUT.nc\n";
inline constexpr const char* kNetcdfDescription =
    "An output ending in .nc gets a NetCDF-4 file with CF metadata of a record file's\n"
    "samples or, with --stats, of its statistics, the times in UTC.\n";
inline constexpr const char* kNetcdfOptions =
    "  --tz ZONE           zone of the file's local times, such as Europe/Berlin\n"
    "                      (default: the system's zone)\n"
    "  --units UNIT        the instrument's speed unit: m/s (default), km/h, knots, mph,\n"
    "                      ft/s; pressures are in hPa (mbar), temperatures in degC,\n"
    "                      humidity in percent, directions in degree\n"
    "  --station NAME      the station's name (default: the file's name without .ivt)\n"
    "  --lat DEG, --lon DEG, --height M\n"
    "                      the station's position and the instrument's height\n"
    "  --institution TEXT  who made the measurements\n";

// True when the arguments ask for NetCDF: the last one ends in ".nc" (in any case), or one of
// the options above is given.
bool wantsNetcdf(int argc, const char* const* argv);

struct NetcdfRequest {
    bool stats = false;
    int period = 0;
    std::string input;
    std::string output;
    std::string unit = "m/s";
    bool zoneGiven = false;
    NetcdfSettings settings;
};

// Reads the arguments. 0, or the exit code 2 with subject and message (an empty message: the
// usage applies).
int parseNetcdfArguments(int argc, const char* const* argv, NetcdfRequest& request,
                         std::string& subject, std::string& message);

// Runs the command for the arguments after the program name; messages go to err. Exit codes:
// 0 done, 1 an unknown zone or unit, a file that could not be read or written, 2 bad
// arguments.
int runNetcdfCommand(int argc, const char* const* argv, std::FILE* err = stderr);
