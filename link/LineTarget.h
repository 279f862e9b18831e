#pragma once
// ILineTarget: where the serial reader thread hands its results. Every call comes from the
// reader thread, so an implementation only queues the work onto its own thread (the frame uses a
// queued call carrying the line by value) and never blocks.

#include <string>

class ILineTarget {
public:
    virtual ~ILineTarget() = default;
    // A complete line, its terminator included.
    virtual void postLine(std::string line) = 0;
    // The line failed (hang-up, read error, over-long line): the frame should disconnect.
    virtual void postDisconnectRequest() = 0;
    // A dialogue line is complete, so the dialogue watchdog may stop before it is handled.
    virtual void postWatchdogStop() {}
};
