#pragma once
// The pauses between searches after a lost link or a search without result: 1 s, then doubling
// up to 60 s, so that an instrument that is back is found soon while a long absence costs little.
// A link that has delivered a sample starts the series again.

class CReconnectSchedule {
public:
    static constexpr int kFirstPauseMs = 1000;
    static constexpr int kLongestPauseMs = 60000;

    // The pause before the next search; the one after it is longer, up to the longest.
    int nextPauseMs();
    void reset() { nextMs_ = kFirstPauseMs; }

private:
    int nextMs_ = kFirstPauseMs;
};
