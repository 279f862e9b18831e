#include "tools/record/SamplePublisher.h"

#include "files/DataText.h"
#include "mqtt/MqttTopics.h"
#include "mqtt/SamplePayload.h"
#include "stats/CivilTime.h"
#include "stats/WindSample.h"

namespace {

MqttSession sessionOf(const MqttOptions& o)
{
    MqttSession session = o.broker.session();
    session.caFile = o.caFile;
    session.willTopic = statusTopic(o.broker.prefix, o.station);
    session.willPayload = offlinePayload(o.station);
    session.willRetain = true;
    session.maxInflight = CSamplePublisher::kWindow;
    return session;
}

} // namespace

CSamplePublisher::CSamplePublisher(const MqttOptions& options, CStoreForward::Files files,
                                   const Unit& unit, Log log, QObject* parent)
    : QObject(parent), options_(options), unit_(unit), log_(std::move(log)),
      queue_(std::move(files), kWindow, log_),
      link_({[this] { linkUp(); }, [this] { linkDown(); }, [this](int mid) { published(mid); },
             nullptr, log_},
            this),
      sampleTopic_(sampleTopic(options.broker.prefix, options.station)),
      statistics_(options.statsPeriod != 0 ? options.statsPeriod : kDefaultStatsPeriod)
{
    saveLater_.setSingleShot(true);
    saveLater_.setInterval(1000);
    connect(&saveLater_, &QTimer::timeout, this, [this] { queue_.save(); });
}

int CSamplePublisher::start()
{
    if (int error = queue_.start(); error != 0)
        return error;
    log_("publishing as station " + options_.station + " to " + options_.broker.display());
    link_.start(sessionOf(options_), options_.broker.display());
    return 0;
}

void CSamplePublisher::publishRetained(const std::string& topic, const std::string& payload)
{
    link_.client().publish(topic, payload, 1, true);
}

void CSamplePublisher::instrumentChanged(const InstrumentLink* link)
{
    instrument_ = link ? std::optional<InstrumentLink>(*link) : std::nullopt;
    if (link_.up())
        publishRetained(statusTopic(options_.broker.prefix, options_.station),
                        onlinePayload(options_.station, link, unit_));
}

void CSamplePublisher::linkUp()
{
    publishRetained(statusTopic(options_.broker.prefix, options_.station),
                    onlinePayload(options_.station, instrument_ ? &*instrument_ : nullptr, unit_));
    if (pendingStats_) {
        publishRetained(statsTopic(options_.broker.prefix, options_.station), *pendingStats_);
        pendingStats_.reset();
    }
    pump();
}

void CSamplePublisher::linkDown() { queue_.rewind(); }

void CSamplePublisher::published(int mid)
{
    queue_.acknowledged(mid);
    pump();
}

void CSamplePublisher::pump()
{
    // Publishing inside an acknowledgement may lead to another one: one loop at a time.
    if (pumping_ || !link_.up())
        return;
    pumping_ = true;
    while (link_.up()) {
        std::optional<CStoreForward::Line> line = queue_.next();
        if (!line)
            break;
        if (line->fresh)
            addToStatistics(*line);
        int mid = 0;
        const int rc = link_.client().publish(
            sampleTopic_,
            samplePayload(options_.station, line->seq, line->recordingTime, line->dataText,
                          unit_),
            1, false, &mid);
        if (rc != 0) {
            // The connection is going: the line waits for the next one.
            queue_.unsend();
            break;
        }
        queue_.sent(mid);
    }
    // All acknowledged and nothing left: the cursor goes to disk within a second (each save
    // waits for the disk; a line a twentieth of a second must not cost a save each).
    if (queue_.inFlight() == 0 && !saveLater_.isActive())
        saveLater_.start();
    pumping_ = false;
}

void CSamplePublisher::addToStatistics(const CStoreForward::Line& line)
{
    std::int64_t seconds = 0;
    if (!parseCivilDateTime(line.recordingTime, seconds))
        return;
    const auto field = [&line](int channel) {
        return dataTextField(line.dataText, static_cast<std::size_t>(channel));
    };
    const WindSample sample =
        makeWindSample(static_cast<double>(seconds), field(kWindSpeedChannel),
                       field(kWindDirectionChannel), field(kTemperatureChannel),
                       field(kPressureChannel));
    if (!statistics_.add(sample) || !statistics_.lastEnded())
        return;
    const std::string payload =
        statsPayload(options_.station, statistics_.period(), *statistics_.lastEnded(), unit_);
    if (link_.up())
        publishRetained(statsTopic(options_.broker.prefix, options_.station), payload);
    else
        pendingStats_ = payload;
}

void CSamplePublisher::stop()
{
    if (link_.up())
        publishRetained(statusTopic(options_.broker.prefix, options_.station),
                        offlinePayload(options_.station));
    link_.stop();
    queue_.save();
}
