"""Opens a record file and an hourly statistics file converted to NetCDF with xarray, as a
meteorologist would, and prints decoded times and means for the test to compare."""
import sys

import xarray as xr

record = xr.open_dataset(sys.argv[1])
hourly = xr.open_dataset(sys.argv[2])


def iso(values):
    return " ".join(str(v)[:19] for v in values)


print("record times", iso(record.time.values[[0, 13, 14, -1]]))
print("record wind_speed mean %.4f %s" % (record.wind_speed.mean(), record.wind_speed.units))
print("hourly bounds", iso(hourly.time_bnds.values.ravel()))
print("hourly wind_speed_mean", " ".join("%.4f" % v for v in hourly.wind_speed_mean.values))
