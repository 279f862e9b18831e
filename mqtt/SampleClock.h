#pragma once
// A clock that reads the local time of one sample ("YYYY/MM/DD HH:MM:SS"), so that the recording
// writer stamps a line that came over the network with the time the station recorded it.

#include <string_view>

#include "core/Clock.h"

class CSampleClock final : public IClock {
public:
    CSampleClock() = default;
    explicit CSampleClock(std::string_view recordingTime) { set(recordingTime); }
    void set(std::string_view recordingTime);
    std::tm localNow() const override { return time_; }

private:
    std::tm time_{};
};
