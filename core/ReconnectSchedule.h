#pragma once
// The pauses between attempts after a lost link or a failed attempt: 1 s, then doubling up to
// 60 s, so that an instrument or a broker that is back is found soon while a long absence costs
// little. A link that has worked (a recorded sample, an accepted connection) starts the series
// again.

class CReconnectSchedule {
public:
    static constexpr int kFirstPauseMs = 1000;
    static constexpr int kLongestPauseMs = 60000;

    // The pause before the next attempt; the one after it is longer, up to the longest.
    int nextPauseMs();
    void reset() { nextMs_ = kFirstPauseMs; }

private:
    int nextMs_ = kFirstPauseMs;
};
