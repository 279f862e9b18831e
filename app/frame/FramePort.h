#pragma once
// The protocol engine's view of the program's serial port: every call goes straight to the
// port object that the overview view owns, with the main frame as the target of its lines.
//
// A purge forgets everything received so far, and that includes a line the reader thread has
// already handed over but the window thread has not yet handled: its generation, taken on the
// reader thread when the line is posted, no longer matches, so the frame drops it instead of
// taking it for the answer to the command that the purge preceded.

#include <atomic>

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
    int purge() override
    {
        ++generation_;
        return port_.purge();
    }
    int sendBreak() override { return port_.sendBreak(); }
    int write(std::string_view bytes) override { return port_.writeText(bytes); }
    void clearLineBuffer() override
    {
        ++generation_;
        port_.clearLineBuffer();
    }
    void setReceiveEnable(bool enable) override { port_.setReceiveEnabled(enable); }
    void setDialogueMode(bool dialogue) override { port_.setDialogue(dialogue); }

    // Safe from any thread.
    unsigned generation() const { return generation_.load(); }

private:
    CComPortObj& port_;
    ILineTarget& lines_;
    std::atomic<unsigned> generation_{0};
};
