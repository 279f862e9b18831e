#pragma once
// The engine's view of the recorder's serial port, one call for one, like the main frame's;
// with a device named on the command line, the COM name the engine opens stands for that
// device. It remembers why an open failed, for the log.

#include <cstring>
#include <string>

#include "protocol/EnginePort.h"
#include "serial/ComName.h"
#include "serial/ComPortObj.h"

class CRecordPort final : public CEnginePort {
public:
    CRecordPort(CComPortObj& port, ILineTarget& lines, std::string device)
        : CEnginePort(port, lines), device_(std::move(device))
    {
    }

    int open(const std::string& comName) override
    {
        lastDevice_ = device_.empty() ? resolveComName(comName) : device_;
        lastOpenResult_ = port_.openWithObject(lastDevice_, &lines_);
        return lastOpenResult_;
    }
    // The device and the reason of the last failed open; empty after a successful one.
    std::string openProblem() const
    {
        if (lastOpenResult_ == 0)
            return {};
        if (lastOpenResult_ == ComResult::kAlreadyInitialized)
            return lastDevice_ + ": already open";
        return lastDevice_ + ": " + std::strerror(lastOpenResult_);
    }

private:
    std::string device_;
    std::string lastDevice_;
    int lastOpenResult_ = 0;
};
