#pragma once
// A record file as a CF NetCDF time series (TimeSeriesFile.h): each row's local date-time as a
// UTC instant of the settings' zone, and one float variable per channel, named and described
// as CF names the quantity, in the instrument's units. A field with a marker, or text that is
// no number, holds the fill value. Rows without a date-time, or whose local time the zone does
// not have (in the gap when clocks go forward), are left out and counted.

#include <cstdio>

#include "export/NetcdfSettings.h"
#include "files/RecordRowReader.h"

// Reads the rest of an open record file and writes its NetCDF file to out.
NetcdfConversion writeRecordNetcdf(CRecordRowReader& reader, std::FILE* out,
                                   const NetcdfSettings& settings);
