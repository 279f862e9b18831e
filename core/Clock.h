#pragma once
// The local time of day, behind an interface so that tests can fix it. Formatting helpers give
// the date-time layouts used by the files and the tables.

#include <ctime>
#include <string>

class IClock {
public:
    virtual ~IClock() = default;
    virtual std::tm localNow() const = 0;
};

// The machine's local time.
class CSystemClock final : public IClock {
public:
    std::tm localNow() const override;
};

// strftime into a std::string; layouts are short, so one fixed buffer suffices.
std::string formatTime(const std::tm& time, const char* layout);

// "%Y/%m/%d %H:%M:%S", the layout of recording-file lines.
inline constexpr const char* kFullDateTimeLayout = "%Y/%m/%d %H:%M:%S";
// "%Y/%m/%d %H:%M:00", the layout of log-file records.
inline constexpr const char* kMinuteDateTimeLayout = "%Y/%m/%d %H:%M:00";
