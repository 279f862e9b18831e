#include "export/StatsNetcdf.h"

#include "export/TimeSeriesFile.h"
#include "stats/RecordSamples.h"
#include "stats/WindStatistics.h"

namespace {

enum Column {
    Samples,
    Marked,
    MeanSpeed,
    MinSpeed,
    MaxSpeed,
    VectorSpeed,
    VectorDirection,
    DirectionSd,
    Gust,
    MeanTemperature,
    MeanPressure
};

void defineQuantities(CTimeSeriesFile& file, const std::string& speed)
{
    using T = CNetcdfFile::Type;
    const QuantityVariable quantities[] = {
        {"samples", T::Int, nullptr, "samples in the period", "1"},
        {"marked_samples", T::Int, nullptr, "samples without a wind speed or direction", "1"},
        {"wind_speed_mean", T::Float, "wind_speed", "mean wind speed", speed, "time: mean"},
        {"wind_speed_min", T::Float, "wind_speed", "lowest wind speed", speed, "time: minimum"},
        {"wind_speed_max", T::Float, "wind_speed", "highest wind speed", speed, "time: maximum"},
        {"wind_speed_vector_mean", T::Float, "wind_speed", "vector-mean wind speed", speed,
         "time: mean (comment: length of the mean wind vector)"},
        {"wind_from_direction_vector_mean", T::Float, "wind_from_direction",
         "vector-mean wind direction", "degree",
         "time: mean (comment: direction of the mean wind vector)"},
        {"wind_from_direction_sd", T::Float, "wind_from_direction",
         "standard deviation of the wind direction", "degree",
         "time: standard_deviation (comment: Yamartino estimate)"},
        {"wind_speed_of_gust", T::Float, "wind_speed_of_gust", "gust", speed,
         "time: maximum (comment: highest mean over 3 consecutive seconds)"},
        {"air_temperature_mean", T::Float, "air_temperature", "mean air temperature", "degC",
         "time: mean"},
        {"air_pressure_mean", T::Float, "air_pressure", "mean air pressure", "hPa", "time: mean"},
    };
    for (const QuantityVariable& quantity : quantities)
        file.addQuantity(quantity);
}

void addFigures(CTimeSeriesFile& file, const WindFigures& f)
{
    file.set(Samples, static_cast<double>(f.samples));
    file.set(Marked, static_cast<double>(f.marked));
    file.set(MeanSpeed, f.meanSpeed);
    file.set(MinSpeed, f.minSpeed);
    file.set(MaxSpeed, f.maxSpeed);
    file.set(VectorSpeed, f.vectorSpeed);
    file.set(VectorDirection, f.vectorDirection);
    file.set(DirectionSd, f.directionSd);
    file.set(Gust, f.gust);
    file.set(MeanTemperature, f.meanTemperature);
    file.set(MeanPressure, f.meanPressure);
}

} // namespace

NetcdfConversion writeStatsNetcdf(CRecordRowReader& reader, int period, std::FILE* out,
                                  const NetcdfSettings& settings)
{
    CTimeSeriesFile file(settings);
    file.create("Wind statistics per " + statsPeriodText(period) + " at " + settings.station, true);
    defineQuantities(file, settings.speedUnit);
    file.startRows();

    NetcdfConversion result;
    CWindStatistics statistics(period);
    auto emit = [&] {
        const WindFigures& figures = *statistics.lastEnded();
        const CUtcTimeline::Bounds bounds = file.timeline().period(figures.start, figures.end);
        file.beginRow(bounds.start, bounds.end);
        addFigures(file, figures);
        file.endRow();
    };
    RecordSampleCounts counts;
    if (!readRecordSamples(
            reader,
            [&](const WindSample& sample) {
                const auto local = static_cast<std::int64_t>(sample.time);
                if (file.zone().instants(local).count == 0)
                    result.leaveOut(local);
                else if (statistics.add(sample))
                    emit();
                return !file.failed();
            },
            counts))
        result.readError = reader.error();
    if (statistics.finish())
        emit();
    result.rows = counts.rows;
    result.undated = counts.undated;
    file.close(out, result);
    return result;
}
