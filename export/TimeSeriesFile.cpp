#include "export/TimeSeriesFile.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>

namespace {

constexpr float kFloatFill = 9.9692099683868690e+36f; // NetCDF's default fill for floats

void appendWord(std::string& words, const char* word)
{
    if (!words.empty())
        words += ' ';
    words += word;
}

} // namespace

CTimeSeriesFile::CTimeSeriesFile(const NetcdfSettings& settings) : settings_(settings)
{
    zone_.select(settings.zone);
}

void CTimeSeriesFile::create(const std::string& title, bool withBounds)
{
    file_.create(settings_.source);
    const int time = file_.dimension("time", 0);
    time_ = file_.variable("time", CNetcdfFile::Double, {time});
    file_.text(time_, "standard_name", "time");
    file_.text(time_, "long_name", "time");
    file_.text(time_, "units", "seconds since 1970-01-01 00:00:00 UTC");
    file_.text(time_, "calendar", "standard");
    file_.text(time_, "axis", "T");
    // The record file holds local times; the zone they were read in stays with the instants.
    file_.text(time_, "time_zone", settings_.zone);
    if (withBounds) {
        file_.text(time_, "bounds", "time_bnds");
        const int sides = file_.dimension("nv", 2);
        bounds_ = file_.variable("time_bnds", CNetcdfFile::Double, {time, sides});
    }
    defineStation();
    file_.text(CNetcdfFile::kGlobal, "Conventions", "CF-1.10");
    file_.text(CNetcdfFile::kGlobal, "title", title);
    file_.text(CNetcdfFile::kGlobal, "institution", settings_.institution);
    file_.text(CNetcdfFile::kGlobal, "source",
               "VA7310 sonic anemometer, record file " + settings_.source);
    file_.text(CNetcdfFile::kGlobal, "history", settings_.history);
    file_.text(CNetcdfFile::kGlobal, "featureType", "timeSeries");
}

void CTimeSeriesFile::defineStation()
{
    const std::size_t length = settings_.station.empty() ? 1 : settings_.station.size();
    stationName_ =
        file_.variable("station_name", CNetcdfFile::Char, {file_.dimension("name_strlen", length)});
    file_.text(stationName_, "long_name", "station name");
    file_.text(stationName_, "cf_role", "timeseries_id");
    struct Position {
        const std::optional<double>& value;
        int& id;
        const char* name;
        const char* standardName;
        const char* longName;
        const char* units;
    };
    const Position positions[] = {
        {settings_.latitude, latitude_, "lat", "latitude", "station latitude", "degrees_north"},
        {settings_.longitude, longitude_, "lon", "longitude", "station longitude", "degrees_east"},
        {settings_.height, height_, "height", "height",
         "height of the instrument above the surface", "m"},
    };
    for (const Position& p : positions) {
        if (!p.value)
            continue;
        p.id = file_.variable(p.name, CNetcdfFile::Double, {});
        file_.text(p.id, "standard_name", p.standardName);
        file_.text(p.id, "long_name", p.longName);
        file_.text(p.id, "units", p.units);
        if (p.id == height_)
            file_.text(p.id, "positive", "up");
        appendWord(coordinates_, p.name);
    }
    appendWord(coordinates_, "station_name");
}

void CTimeSeriesFile::addQuantity(const QuantityVariable& quantity)
{
    const int id = file_.variable(quantity.name, quantity.type, {0});
    if (quantity.type == CNetcdfFile::Float)
        file_.number(id, "_FillValue", CNetcdfFile::Float, kFloatFill);
    if (quantity.standardName)
        file_.text(id, "standard_name", quantity.standardName);
    if (quantity.longName)
        file_.text(id, "long_name", quantity.longName);
    if (!quantity.units.empty())
        file_.text(id, "units", quantity.units);
    if (quantity.cellMethods)
        file_.text(id, "cell_methods", quantity.cellMethods);
    file_.text(id, "coordinates", coordinates_);
    variables_.push_back(id);
    types_.push_back(quantity.type);
    values_.emplace_back();
    values_.back().reserve(kChunkRows);
}

void CTimeSeriesFile::startRows()
{
    file_.endDefinitions();
    writeStation();
    times_.reserve(kChunkRows);
}

void CTimeSeriesFile::writeStation()
{
    const std::string name = settings_.station.empty() ? " " : settings_.station;
    file_.write(stationName_, 0, name.size(), 1, name.data());
    for (auto [id, value] :
         {std::pair{latitude_, settings_.latitude}, std::pair{longitude_, settings_.longitude},
          std::pair{height_, settings_.height}}) {
        if (value)
            file_.write(id, 0, 1, 1, &*value);
    }
}

void CTimeSeriesFile::beginRow(std::int64_t utc, std::int64_t periodEnd)
{
    times_.push_back(static_cast<double>(utc));
    if (bounds_ >= 0) {
        bounds2_.push_back(static_cast<double>(utc));
        bounds2_.push_back(static_cast<double>(periodEnd));
    }
}

void CTimeSeriesFile::endRow()
{
    if (times_.size() >= kChunkRows)
        flush();
}

void CTimeSeriesFile::flush()
{
    const std::size_t rows = times_.size();
    file_.write(time_, written_, rows, 1, times_.data());
    if (bounds_ >= 0)
        file_.write(bounds_, written_, rows, 2, bounds2_.data());
    std::vector<float> floats(rows);
    std::vector<int> ints(rows);
    for (std::size_t k = 0; k < variables_.size(); ++k) {
        const std::vector<std::optional<double>>& column = values_[k];
        for (std::size_t i = 0; i < rows; ++i) {
            const std::optional<double>& v = column[i];
            if (types_[k] == CNetcdfFile::Int)
                ints[i] = v ? static_cast<int>(std::clamp<double>(*v, INT_MIN, INT_MAX)) : 0;
            else // a value beyond a float's range is no reading the float can hold
                floats[i] = v && std::isfinite(*v) && std::fabs(*v) <= FLT_MAX
                                ? static_cast<float>(*v)
                                : kFloatFill;
        }
        file_.write(variables_[k], written_, rows, 1,
                    types_[k] == CNetcdfFile::Int ? static_cast<const void*>(ints.data())
                                                  : static_cast<const void*>(floats.data()));
        values_[k].clear();
    }
    written_ += rows;
    times_.clear();
    bounds2_.clear();
}

void CTimeSeriesFile::close(std::FILE* out, NetcdfConversion& result)
{
    if (!times_.empty())
        flush();
    result.writeError = file_.close(out);
    if (result.writeError != 0)
        result.failure = file_.failureText();
}
