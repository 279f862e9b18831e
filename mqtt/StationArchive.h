#pragma once
// The archiver's files: each station's samples go to DIR/STATION/STATION-YYYYMMDD.ivt (the
// sample's local day) through the recording writer, so the lines are byte for byte those of the
// station's own recording. A sample whose seq is not above the last one stored for its station
// is a duplicate (a message sent again after a lost acknowledgement or a restart) and is
// dropped. The last seq of each station is kept in DIR/STATION/last-seq, replaced atomically
// after each stored line.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "mqtt/SamplePayload.h"

class CStationArchive {
public:
    using Log = std::function<void(std::string_view line)>;
    enum class Result { Stored, Duplicate, Failed };

    CStationArchive(std::string folder, Log log);

    Result store(const SampleMessage& sample);

    // The last seq stored for the station (0: none).
    std::uint64_t lastSeq(const std::string& station);

    unsigned long long stored() const { return stored_; }
    unsigned long long duplicates() const { return duplicates_; }

private:
    struct Station {
        std::uint64_t lastSeq = 0;
        bool failing = false;
        bool dropping = false;
    };

    Station& station(const std::string& name);
    // The file a sample of that station and recording time goes to.
    std::string filePath(const std::string& station, std::string_view recordingTime) const;
    std::string seqPath(const std::string& station) const;

    std::string folder_;
    Log log_;
    std::map<std::string, Station> stations_;
    unsigned long long stored_ = 0;
    unsigned long long duplicates_ = 0;
};
