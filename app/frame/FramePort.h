#pragma once
// The protocol engine's view of the program's serial port: every call goes straight to the
// port object that the overview view owns, with the main frame as the target of its lines.
//
// A purge forgets everything received so far, and that includes a line the reader thread has
// already handed over but the window thread has not yet handled: the port stamped it with its
// generation when the line was completed, and a purge (or emptying the line buffer) has since
// advanced that generation, so the frame drops the line instead of taking it for the answer to
// the command that the purge preceded. Likewise a disconnect request carries the session of the
// port that made it, and one from a port since closed and reopened is dropped.

#include "serial/ComPortObj.h"
#include "protocol/ProtocolPort.h"

class CFramePort final : public IProtocolPort {
public:
    CFramePort(CComPortObj& port, ILineTarget& lines) : port_(port), lines_(lines) {}

    int open(const std::string& comName) override { return port_.openWithObject(comName, &lines_); }
    int configureLine(int baudRate, int dataBits, int parity, int stopBits) override
    {
        return port_.configureLine(baudRate, dataBits, parity, stopBits);
    }
    int close() override { return port_.close(); }
    int purge() override { return port_.purge(); }
    int sendBreak() override { return port_.sendBreak(); }
    int write(std::string_view bytes) override { return port_.writeText(bytes); }
    void clearLineBuffer() override { port_.clearLineBuffer(); }
    void setReceiveEnable(bool enable) override { port_.setReceiveEnabled(enable); }
    void setDialogueMode(bool dialogue) override { port_.setDialogue(dialogue); }

    // The stamps that current lines and disconnect requests carry.
    unsigned generation() const { return port_.generation(); }
    unsigned session() const { return port_.session(); }

private:
    CComPortObj& port_;
    ILineTarget& lines_;
};
