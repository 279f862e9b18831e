#pragma once
// The wind statistics of a record file as a CF NetCDF time series (TimeSeriesFile.h): one row
// per clock-aligned period, its time the period's start, time_bnds the instants the local
// clock entered and left it, and the figures of stats/WindAccumulator.h as variables whose
// cell_methods name how each was taken. Rows whose local time the zone does not have are left
// out and counted, as in the record conversion.

#include <cstdio>

#include "export/NetcdfSettings.h"
#include "files/RecordRowReader.h"

NetcdfConversion writeStatsNetcdf(CRecordRowReader& reader, int period, std::FILE* out,
                                  const NetcdfSettings& settings);
