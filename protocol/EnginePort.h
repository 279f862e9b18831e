#pragma once
// The engine's view of a real serial port: every call goes straight to the port object, with
// the given target receiving its lines. The main frame and the recorder use it as it is or
// refine how a COM name is opened.
//
// A purge forgets everything received so far, and that includes a line the reader thread has
// already handed over but the program's thread has not yet handled: the port stamped it with its
// generation when the line was completed, and a purge (or emptying the line buffer) has since
// advanced that generation, so the line is dropped instead of being taken for the answer to the
// command that the purge preceded. Likewise a disconnect request carries the session of the port
// that made it, and one from a port since closed and reopened is dropped.

#include <string>
#include <string_view>

#include "protocol/ProtocolPort.h"
#include "serial/ComPortObj.h"

class CEnginePort : public IProtocolPort {
public:
    CEnginePort(CComPortObj& port, ILineTarget& lines) : port_(port), lines_(lines) {}

    int open(const std::string& comName) override;
    int configureLine(int baudRate, int dataBits, int parity, int stopBits) override;
    int close() override;
    int purge() override;
    int sendBreak() override;
    int write(std::string_view bytes) override;
    void clearLineBuffer() override;
    void setReceiveEnable(bool enable) override;
    void setDialogueMode(bool dialogue) override;
    Arrivals arrivals() const override;

    // Whether a line handed over with this generation is still current. A stale one is dropped;
    // the reader, which paused when it handed it over, then reads on while the link is open.
    bool acceptLine(unsigned generation, bool linkOpen);
    // Whether a disconnect request with this session is of the port as now open.
    bool acceptDisconnect(unsigned session) const { return session == port_.session(); }
    // Whether a watchdog stop for a line of this generation is still current.
    bool acceptWatchdogStop(unsigned generation) const { return generation == port_.generation(); }

protected:
    CComPortObj& port_;
    ILineTarget& lines_;
};
