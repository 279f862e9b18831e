#pragma once
// The recorder's publishing (--mqtt): every recorded line goes to PREFIX/STATION/sample from the
// recording files through CStoreForward, so a broker outage or a restart loses nothing; each
// closed statistics period goes to .../stats and the station's state to .../status (both
// retained). The broker's last will marks the station offline; a clean stop does so itself.
// Runs on the recorder's event loop: the recorder tells it of each recorded line and of the
// instrument link coming and going.

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "files/RecordingSink.h"
#include "mqtt/QtMqttLink.h"
#include "mqtt/StationPayloads.h"
#include "mqtt/StoreForward.h"
#include "stats/WindStatistics.h"
#include "tools/record/MqttOptions.h"

class Unit;

class CSamplePublisher final : public QObject {
public:
    using Log = std::function<void(std::string_view line)>;

    // At most this many samples are on their way to the broker at once.
    static constexpr int kWindow = 100;

    CSamplePublisher(const MqttOptions& options, CStoreForward::Files files, const Unit& unit,
                     Log log, QObject* parent = nullptr);

    // Reads the cursor and starts connecting; 0, or an errno after a log line.
    int start();
    // A line was appended to the recording.
    void lineRecorded() { pump(); }
    // The instrument link is up (link given) or gone (null).
    void instrumentChanged(const InstrumentLink* link);
    // Publishes the offline state, saves the cursor and disconnects.
    void stop();

private:
    void linkUp();
    void linkDown();
    void published(int mid);
    // Publishes lines while the window has room.
    void pump();
    void publishRetained(const std::string& topic, const std::string& payload);
    void addToStatistics(const CStoreForward::Line& line);

    MqttOptions options_;
    const Unit& unit_;
    Log log_;
    CStoreForward queue_;
    CQtMqttLink link_;
    std::string sampleTopic_;
    std::optional<InstrumentLink> instrument_;
    CWindStatistics statistics_;
    std::optional<std::string> pendingStats_; // closed while the broker was away
    QTimer saveLater_;
    bool pumping_ = false;
};

// Hands each data text on to the recording, then tells the publisher.
class CPublishingSink final : public IRecordingSink {
public:
    CPublishingSink(IRecordingSink& recording, std::function<void()> recorded)
        : recording_(recording), recorded_(std::move(recorded))
    {
    }
    void appendDataText(std::string_view dataText) override
    {
        recording_.appendDataText(dataText);
        recorded_();
    }
    bool emptyFile() override { return recording_.emptyFile(); }

private:
    IRecordingSink& recording_;
    std::function<void()> recorded_;
};
