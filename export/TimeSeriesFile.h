#pragma once
// One station's time series as a CF-1.10 NetCDF file (featureType timeSeries): an unlimited
// time dimension with its coordinate in UTC seconds (and bounds for statistics periods), the
// station's name and position as scalar coordinates, the global attributes, and one variable
// per quantity. Rows are kept a chunk at a time and compressed chunk by chunk; the file grows in
// memory at its compressed size (NetcdfFile.h) until close() writes it.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "export/NetcdfFile.h"
#include "export/NetcdfSettings.h"
#include "export/UtcTimeline.h"

struct QuantityVariable {
    const char* name;
    CNetcdfFile::Type type; // Float, or Int for counts
    const char* standardName = nullptr;
    const char* longName = nullptr;
    std::string units; // empty: none stated
    const char* cellMethods = nullptr;
};

class CTimeSeriesFile {
public:
    static constexpr std::size_t kChunkRows = 16384;

    // The settings' zone must be one CTimeZone::select() takes.
    explicit CTimeSeriesFile(const NetcdfSettings& settings);

    const CTimeZone& zone() const { return zone_; }
    // Local times of the rows (or periods) in file order, as instants.
    CUtcTimeline& timeline() { return timeline_; }

    // Begins the file with its time coordinate, station and global attributes; withBounds
    // adds time_bnds for periods.
    void create(const std::string& title, bool withBounds);
    // Adds a quantity (before startRows()); the quantities' columns follow their order.
    void addQuantity(const QuantityVariable& quantity);
    // Ends the definitions and writes the station.
    void startRows();

    // The next row: its instant (and period end), then its values; a missing value is the
    // fill value.
    void beginRow(std::int64_t utc, std::int64_t periodEnd = 0);
    void set(int column, std::optional<double> value) { values_[column].push_back(value); }
    void endRow();

    // Completes the file and writes it to out; a failure goes into result.
    void close(std::FILE* out, NetcdfConversion& result);
    bool failed() const { return file_.failed(); }

private:
    void defineStation();
    void writeStation();
    void flush();

    const NetcdfSettings& settings_;
    CTimeZone zone_;
    CUtcTimeline timeline_{zone_};
    CNetcdfFile file_{kChunkRows};
    int time_ = -1;
    int bounds_ = -1;
    int stationName_ = -1;
    int latitude_ = -1, longitude_ = -1, height_ = -1;
    std::string coordinates_;
    std::vector<int> variables_;
    std::vector<CNetcdfFile::Type> types_;
    std::size_t written_ = 0;
    std::vector<double> times_;
    std::vector<double> bounds2_;
    std::vector<std::vector<std::optional<double>>> values_;
};
