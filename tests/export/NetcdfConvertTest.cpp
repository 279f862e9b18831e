#include <gtest/gtest.h>
#include <netcdf.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "stats/CivilTime.h"
#include "tests/support/TempDir.h"
#include "tests/support/ToolRun.h"

namespace {

// A record line with a speed, a direction and the other eleven fields 1.00 to 11.00.
std::string line(const std::string& dateTime, const char* speed, const char* direction = "  180.0 ")
{
    std::string data = std::string(speed) + direction;
    for (int k = 1; k <= 11; ++k) {
        char field[16];
        std::snprintf(field, sizeof field, "%8.2f", static_cast<double>(k));
        data += field;
    }
    return dateTime + "#" + data + "\r\r\n";
}

std::string clock(const char* day, int minutes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%s %02d:%02d:00", day, minutes / 60, minutes % 60);
    return text;
}

// Berlin's night of 2024/10/27, a row every 5 minutes: 01:50 and 01:55 at 1.00, the hour from
// 02:00 at 2.00 (summer time) and again at 4.00 (winter time), 03:00 and 03:05 at 4.00; then a
// row of markers and text, a row without a date-time and one in the hour skipped in spring.
struct NightFile {
    std::string text;
    std::vector<double> times; // the UTC instants expected
    NightFile()
    {
        const std::int64_t day = civilSeconds(2024, 10, 27, 0, 0, 0);
        auto add = [&](int minutes, const char* speed, int offsetHours) {
            text += line(clock("2024/10/27", minutes), speed);
            times.push_back(static_cast<double>(day + minutes * 60 - offsetHours * 3600));
        };
        for (int m = 110; m < 120; m += 5)
            add(m, "    1.00", 2);
        for (int m = 120; m < 180; m += 5)
            add(m, "    2.00", 2);
        for (int m = 120; m < 190; m += 5)
            add(m, "    4.00", 1);
        text += "2024/10/27 03:10:00#    _err ---- --     abc    1e99   _ofl         12.5\r\r\n";
        times.push_back(static_cast<double>(day + 190 * 60 - 3600));
        text += line("no date-time", "    9.00");
        text += line("2024/03/31 02:30:00", "    9.00");
    }
};

constexpr double kFill = NC_FILL_FLOAT;

class NetcdfReader {
public:
    explicit NetcdfReader(const std::string& path)
    {
        EXPECT_EQ(nc_open(path.c_str(), NC_NOWRITE, &id_), NC_NOERR) << path;
    }
    ~NetcdfReader()
    {
        if (id_ >= 0)
            nc_close(id_);
    }
    std::vector<std::string> variables() const
    {
        int count = 0;
        nc_inq_nvars(id_, &count);
        std::vector<std::string> names;
        for (int v = 0; v < count; ++v) {
            char name[NC_MAX_NAME + 1] = {};
            nc_inq_varname(id_, v, name);
            names.emplace_back(name);
        }
        return names;
    }
    // A text attribute of a variable (nullptr: of the file); "-" when there is none.
    std::string text(const char* variable, const char* name) const
    {
        std::size_t length = 0;
        if (nc_inq_attlen(id_, var(variable), name, &length) != NC_NOERR)
            return "-";
        std::string value(length, '\0');
        nc_get_att_text(id_, var(variable), name, value.data());
        return value;
    }
    double number(const char* variable, const char* name) const
    {
        double value = 0;
        EXPECT_EQ(nc_get_att_double(id_, var(variable), name, &value), NC_NOERR) << name;
        return value;
    }
    // All values of a variable of at most two dimensions, the second of two (time_bnds).
    std::vector<double> values(const char* variable) const
    {
        int dims[NC_MAX_VAR_DIMS] = {}, count = 0;
        nc_inq_var(id_, var(variable), nullptr, nullptr, &count, dims, nullptr);
        std::size_t rows = 1;
        if (count > 0)
            nc_inq_dimlen(id_, dims[0], &rows);
        std::vector<double> result(rows * (count == 2 ? 2 : 1));
        EXPECT_EQ(nc_get_var_double(id_, var(variable), result.data()), NC_NOERR) << variable;
        return result;
    }

private:
    int var(const char* name) const
    {
        int id = NC_GLOBAL;
        if (name) {
            EXPECT_EQ(nc_inq_varid(id_, name, &id), NC_NOERR) << name;
        }
        return id;
    }
    int id_ = -1;
};

} // namespace

TEST(NetcdfConvert, RecordFileReadsBackWithNamesUnitsAndUtcTimes)
{
    TempDir dir;
    const NightFile night;
    writeFile(dir.file("night.ivt"), night.text);
    ::setenv("TZ", "Europe/Berlin", 1); // the system's zone, as no --tz is given
    const ToolRun run =
        convert(dir, "--units km/h --station 'Mast 1' --lat 52.5 --lon 13.25 --height 10 " +
                         dir.file("night.ivt") + " " + dir.file("night.nc"));
    EXPECT_EQ(run.exitCode, 0);
    const std::string input = "ventora-convert: " + dir.file("night.ivt");
    EXPECT_EQ(run.err, input +
                           ": 1 of 31 rows left out: no date-time of the form YYYY/MM/DD "
                           "HH:MM:SS\n" +
                           input +
                           ": 1 of 31 rows left out: their local times do not exist in "
                           "Europe/Berlin (the first: 2024/03/31 02:30:00)\n");

    const NetcdfReader nc(dir.file("night.nc"));
    // The standard name, or the long name where CF has none, and the units.
    const char* const quantities[][3] = {
        {"wind_speed", "wind_speed", "km h-1"},
        {"wind_from_direction", "wind_from_direction", "degree"},
        {"air_pressure", "air_pressure", "hPa"},
        {"air_temperature", "air_temperature", "degC"},
        {"relative_humidity", "relative_humidity", "percent"},
        {"ain4", "analogue input 4", "-"},
        {"u", "eastward_wind", "km h-1"},
        {"v", "northward_wind", "km h-1"},
        {"w", "upward_air_velocity", "km h-1"},
        {"uv_speed", "wind_speed", "km h-1"},
        {"elevation", "elevation angle of the wind", "degree"},
        {"speed_of_sound", "speed_of_sound_in_air", "km h-1"},
        {"sonic_temperature", "sonic temperature", "degC"},
    };
    std::vector<std::string> names = {"time", "station_name", "lat", "lon", "height"};
    for (const auto& [name, description, units] : quantities) {
        names.emplace_back(name);
        const std::string standard = nc.text(name, "standard_name");
        EXPECT_EQ(standard == "-" ? nc.text(name, "long_name") : standard, description);
        EXPECT_EQ(nc.text(name, "units"), units) << name;
        EXPECT_EQ(nc.number(name, "_FillValue"), kFill) << name;
        EXPECT_EQ(nc.text(name, "coordinates"), "lat lon height station_name") << name;
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(nc.variables(), names); // HDF5 lists them by name

    EXPECT_EQ(nc.values("time"), night.times);
    EXPECT_EQ(nc.text("time", "units"), "seconds since 1970-01-01 00:00:00 UTC");
    EXPECT_EQ(nc.text("time", "time_zone"), "Europe/Berlin");
    // The marker row: markers, text that is no number, a value beyond a float and an empty
    // field are fill values; its other fields keep their numbers.
    const std::size_t last = night.times.size() - 1;
    for (const char* name : {"wind_speed", "wind_from_direction", "air_pressure", "air_temperature",
                             "relative_humidity", "ain4", "v"})
        EXPECT_EQ(nc.values(name)[last], kFill) << name;
    EXPECT_EQ(nc.values("u")[last], 12.5);
    EXPECT_EQ(nc.values("wind_speed")[0], 1.0);
    EXPECT_FLOAT_EQ(nc.values("sonic_temperature")[0], 11.0);

    EXPECT_EQ(nc.values("lat"), std::vector<double>{52.5});
    EXPECT_EQ(nc.values("lon"), std::vector<double>{13.25});
    EXPECT_EQ(nc.values("height"), std::vector<double>{10});
    EXPECT_EQ(nc.text("station_name", "cf_role"), "timeseries_id");
    EXPECT_EQ(nc.text(nullptr, "Conventions"), "CF-1.10");
    EXPECT_EQ(nc.text(nullptr, "featureType"), "timeSeries");
    EXPECT_EQ(nc.text(nullptr, "title"), "Wind measurements at Mast 1");
    EXPECT_EQ(nc.text(nullptr, "source"), "VA7310 sonic anemometer, record file night.ivt");
    EXPECT_EQ(nc.text(nullptr, "institution"), "unknown");
    EXPECT_TRUE(std::regex_match(
        nc.text(nullptr, "history"),
        std::regex("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ: ventora-convert --units km/h "
                   "--station 'Mast 1' --lat 52.5 .* /.*/night.nc")))
        << nc.text(nullptr, "history");

    // ncdump reads the same, and decodes the times across the repeated hour in order.
    const ToolRun header = runTool("ncdump", dir, "-h " + dir.file("night.nc"));
    for (const char* expected :
         {"\ttime = UNLIMITED ; // (29 currently)\n", "\tfloat wind_speed(time) ;\n",
          "\t\twind_speed:_FillValue = 9.96921e+36f ;\n", "\t\tu:units = \"km h-1\" ;\n",
          "\tchar station_name(name_strlen) ;\n", "\t\t:featureType = \"timeSeries\" ;\n"})
        EXPECT_NE(header.out.find(expected), std::string::npos) << expected << header.out;
    const ToolRun times = runTool("ncdump", dir, "-t -v time " + dir.file("night.nc"));
    const std::string decoded = std::regex_replace(times.out, std::regex("\\s+"), " ");
    EXPECT_NE(decoded.find("\"2024-10-27 00:55\", \"2024-10-27 01\", \"2024-10-27 01:05\""),
              std::string::npos)
        << decoded;
}

TEST(NetcdfConvert, StatisticsHaveBoundsAndCellMethods)
{
    TempDir dir;
    writeFile(dir.file("night.ivt"), NightFile().text);
    const ToolRun run = convert(dir, "--stats 10m --tz Europe/Berlin " + dir.file("night.ivt") +
                                         " " + dir.file("stats.nc"));
    EXPECT_EQ(run.exitCode, 0);

    const NetcdfReader nc(dir.file("stats.nc"));
    // 01:50, the six periods of summer time, the six of winter time, 03:00 and 03:10.
    const double start = static_cast<double>(civilSeconds(2024, 10, 26, 23, 50, 0));
    std::vector<double> times, bounds, means;
    for (int p = 0; p < 15; ++p) {
        times.push_back(start + p * 600);
        bounds.push_back(times.back());
        bounds.push_back(times.back() + 600);
        means.push_back(p == 0 ? 1 : p <= 6 ? 2 : p < 14 ? 4 : kFill);
    }
    EXPECT_EQ(nc.values("time"), times);
    EXPECT_EQ(nc.values("time_bnds"), bounds);
    EXPECT_EQ(nc.text("time", "bounds"), "time_bnds");
    EXPECT_EQ(nc.values("wind_speed_mean"), means);
    EXPECT_EQ(nc.values("samples"),
              (std::vector<double>{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1}));
    EXPECT_EQ(nc.values("marked_samples").back(), 1);
    EXPECT_EQ(nc.values("wind_speed_of_gust").front(), kFill); // no three seconds in a row

    struct Figure {
        const char* name;
        const char* standardName;
        const char* cellMethods;
    };
    const Figure figures[] = {
        {"wind_speed_mean", "wind_speed", "time: mean"},
        {"wind_speed_min", "wind_speed", "time: minimum"},
        {"wind_speed_max", "wind_speed", "time: maximum"},
        {"wind_speed_vector_mean", "wind_speed",
         "time: mean (comment: length of the mean wind vector)"},
        {"wind_from_direction_vector_mean", "wind_from_direction",
         "time: mean (comment: direction of the mean wind vector)"},
        {"wind_from_direction_sd", "wind_from_direction",
         "time: standard_deviation (comment: Yamartino estimate)"},
        {"wind_speed_of_gust", "wind_speed_of_gust",
         "time: maximum (comment: highest mean over 3 consecutive seconds)"},
        {"air_temperature_mean", "air_temperature", "time: mean"},
        {"air_pressure_mean", "air_pressure", "time: mean"},
    };
    for (const Figure& f : figures) {
        EXPECT_EQ(nc.text(f.name, "standard_name"), f.standardName) << f.name;
        EXPECT_EQ(nc.text(f.name, "cell_methods"), f.cellMethods) << f.name;
    }
    EXPECT_EQ(nc.text("wind_speed_of_gust", "units"), "m s-1");
    EXPECT_EQ(nc.text(nullptr, "title"), "Wind statistics per 10 min at night");
}

// Python's xarray opens both files in one line each and decodes their times.
TEST(NetcdfConvert, XarrayDecodesTimesAndMeans)
{
    TempDir dir;
    writeFile(dir.file("night.ivt"), NightFile().text);
    ASSERT_EQ(
        convert(dir, "--tz Europe/Berlin " + dir.file("night.ivt") + " " + dir.file("night.nc"))
            .exitCode,
        0);
    ASSERT_EQ(convert(dir, "--stats 1h --tz Europe/Berlin " + dir.file("night.ivt") + " " +
                               dir.file("hourly.nc"))
                  .exitCode,
              0);
    const ToolRun run = runTool(VENTORA_PYTHON, dir,
                                std::string(READ_NETCDF_SCRIPT) + " " + dir.file("night.nc") + " " +
                                    dir.file("hourly.nc"));
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "record times 2024-10-26T23:50:00 2024-10-27T00:55:00 "
                       "2024-10-27T01:00:00 2024-10-27T02:10:00\n"
                       "record wind_speed mean 2.9286 m s-1\n"
                       // The hour 02:00-03:00 holds both of its passes: two hours long.
                       "hourly bounds 2024-10-26T23:00:00 2024-10-27T00:00:00 "
                       "2024-10-27T00:00:00 2024-10-27T02:00:00 2024-10-27T02:00:00 "
                       "2024-10-27T03:00:00\n"
                       "hourly wind_speed_mean 1.0000 3.0000 4.0000\n");
}

TEST(NetcdfConvert, FailuresEndWithOneLineAndLeaveNothingBehind)
{
    TempDir dir;
    writeFile(dir.file("r.ivt"), NightFile().text);
    writeFile(dir.file("l.lvt"), "DATE-TIME: 2024/01/02 10:00:00\r\r\n");
    writeFile(dir.file("keep.nc"), "older results");
    std::string hashes; // a row from every 2 bytes
    for (int i = 0; i < 3000; ++i)
        hashes += "#\n";
    writeFile(dir.file("hashes.ivt"), hashes);
    struct Case {
        const char* systemZone;
        std::string arguments;
        int fileBlocks;
        int exitCode;
        std::string error; // the whole message
    };
    const std::string r = dir.file("r.ivt"), keep = dir.file("keep.nc");
    const std::string hashesRefused = dir.file("hashes.ivt") +
                                      ": ERROR: Unable to open selected file (more rows than its "
                                      "size allows: at most one per 20 bytes)";
    const Case cases[] = {
        {"UTC", "--tz Mars/Olympus " + r + " " + keep, 0, 1,
         "Mars/Olympus: no such time zone in the system's time zone database"},
        {"Mars/Olympus", r + " " + keep, 0, 1,
         "Mars/Olympus: no such time zone in the system's time zone database"},
        {"UTC", "--units furlongs " + r + " " + keep, 0, 1,
         "furlongs: unknown speed unit: m/s, km/h, knots, mph or ft/s"},
        {"UTC", "--lat 91 " + r + " " + keep, 0, 2,
         "91: not a latitude: degrees north, from -90 to 90"},
        {"UTC", r + " " + keep + " --tz", 0, 2, "--tz: needs a value"},
        {"UTC", "--tz UTC " + r + " " + dir.file("out.csv"), 0, 2,
         dir.file("out.csv") + ": --tz, --units, --station, --lat, --lon, --height and "
                               "--institution are options of the NetCDF output (OUT.nc)"},
        {"UTC", dir.file("l.lvt") + " " + keep, 0, 2,
         dir.file("l.lvt") + ": NetCDF files are made from a record (.ivt) file"},
        {"UTC", dir.file("missing.ivt") + " " + keep, 0, 1,
         dir.file("missing.ivt") +
             ": ERROR: Unable to open selected file (No such file or directory)"},
        {"UTC", r + " " + keep, 8, 1, keep + ": cannot write: File too large"},
        {"UTC", "--stats " + r + " " + keep, 8, 1, keep + ": cannot write: File too large"},
        {"UTC", dir.file("hashes.ivt") + " " + keep, 0, 1, hashesRefused},
        {"UTC", "--stats " + dir.file("hashes.ivt") + " " + keep, 0, 1, hashesRefused},
        {"UTC", r + " " + dir.file("no/out.nc"), 0, 1,
         dir.file("no/out.nc") + ": cannot create: No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        ::setenv("TZ", c.systemZone, 1);
        const ToolRun run = convert(dir, c.arguments, c.fileBlocks);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err, "ventora-convert: " + c.error + "\n");
    }
    EXPECT_EQ(readFile(keep), "older results");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"hashes.ivt", "keep.nc", "l.lvt", "r.ivt",
                                                     "stderr", "stdout"}));
}
