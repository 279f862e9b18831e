#pragma once
// The order in which the autodetect search tries serial settings: COM1, COM2 and COM3, each at
// 9600, 19200, 38400, 57600 and 115200 baud. A setting whose answer was garbled is tried again,
// six tries in all, before the search moves on; a port that cannot be opened skips its remaining
// rates. The protocol engine runs the attempts; this class only decides which comes next.
// A station that knows its port or rate may narrow the search to them (setScope).

#include <optional>

class CAutodetect {
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 3;
    static constexpr int kRateCount = 5;
    static constexpr int kTriesPerSetting = 6;

    struct Setting {
        int port;
        int baudRate;
        bool operator==(const Setting&) const = default;
    };

    static int baudRate(int rateIndex); // 1..5
    // Whether rate is one of the five.
    static bool knownBaudRate(int rate);

    // The settings a search covers: by default every port and every rate.
    struct Scope {
        int firstPort = kFirstPort;
        int lastPort = kLastPort;
        int baudRate = 0; // one of the five, or 0 for every rate
    };
    // Takes effect at the next start().
    void setScope(const Scope& scope) { scope_ = scope; }
    const Scope& scope() const { return scope_; }

    // Before the first attempt.
    void start();

    // The previous attempt ended (garbled: a reply came but was not recognised). Returns the
    // setting of the next attempt, or nothing when every port has been tried.
    std::optional<Setting> next(bool garbled);

    // The port of the current attempt could not be opened.
    void portFailed() { rateIndex_ = kRateCount; }

private:
    Scope scope_;
    int port_ = kFirstPort;
    int rateIndex_ = 0; // 1..5 while an attempt runs
    int retries_ = 0;
};
