#pragma once
// The engine's view of a real serial port: every call goes straight to the port object, with
// the given target receiving its lines. The main frame and the recorder use it as it is or
// refine how a COM name is opened.

#include <string>
#include <string_view>

#include "protocol/ProtocolPort.h"
#include "serial/ComPortObj.h"

class CSerialProtocolPort : public IProtocolPort {
public:
    CSerialProtocolPort(CComPortObj& port, ILineTarget& lines) : port_(port), lines_(lines) {}

    int open(const std::string& comName) override;
    int configureLine(int baudRate, int dataBits, int parity, int stopBits) override;
    int close() override;
    int purge() override;
    int sendBreak() override;
    int write(std::string_view bytes) override;
    void clearLineBuffer() override;
    void setReceiveEnable(bool enable) override;
    void setDialogueMode(bool dialogue) override;

    // The stamps that current lines and disconnect requests carry (serial/LineTarget.h).
    unsigned generation() const { return port_.generation(); }
    unsigned session() const { return port_.session(); }

protected:
    CComPortObj& port_;
    ILineTarget& lines_;
};
