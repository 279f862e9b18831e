#pragma once
// ILineTarget: where the serial reader thread hands its results. Every call comes from the
// reader thread, so an implementation only queues the work onto its own thread and never blocks.
// Each result carries a stamp taken by the port when it was made, so that the target can tell,
// when it comes to handle it, whether the port has forgotten it since: a line whose generation is
// no longer CComPortWnd::generation() was received before a purge; a request whose session is no
// longer CComPortWnd::session() came from a port since closed. A Qt frame queues the work with
// a call that carries the line by value and is dropped if the frame is gone:
//   QMetaObject::invokeMethod(frame, [frame, line = std::move(line), generation] {
//       frame->onLine(line, generation); }, Qt::QueuedConnection);

#include <string>

class ILineTarget {
public:
    virtual ~ILineTarget() = default;
    // A complete line, its terminator included, and the port's generation when it was completed.
    virtual void postLine(std::string line, unsigned generation) = 0;
    // The line failed (hang-up, read error, over-long line): the frame should disconnect the
    // port of this session.
    virtual void postDisconnectRequest(unsigned session) = 0;
    // A dialogue line is complete, so the dialogue watchdog may stop before it is handled; the
    // generation is that of the line, so a stop for a line since forgotten is dropped too.
    virtual void postWatchdogStop(unsigned generation) { (void)generation; }
};
