#pragma once
// ILineTarget: where the serial reader thread hands its results. Every call comes from the
// reader thread, so an implementation only queues the work onto its own thread and never blocks.
// A Qt frame does it with a queued call that carries the line by value and is dropped if the
// frame is gone:
//   QMetaObject::invokeMethod(frame, [frame, line = std::move(line)] { frame->onLine(line); },
//                             Qt::QueuedConnection);

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
