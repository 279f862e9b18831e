#pragma once
// CComPortObj: the program's one serial port object, owned by the main view. It is a
// CComPortWnd opened with the frame's line target and the program's queue sizes.
//
// Typical use from the GUI thread: openWithObject("COM1", &target), configureLine(rate, 8,
// kParityNone, kStopBitsTwo), then setReceiveEnabled / setDialogue / clearLineBuffer, purge,
// sendBreak and writeText as the protocol requires, and close(). The target's calls arrive on
// the reader thread (see LineTarget.h); everything else is as in ComPortWnd.h and ComPort.h.
//
// Result codes (ComResult): 0 success, 6 port not open, 1247 already open, 1460 transfer time-out,
// 0x80070057 unknown handshaking or read kind; otherwise errno (ENOENT no such device, EACCES no
// permission, EBUSY in use). lastError() keeps the last one.

#include "serial/ComPortWnd.h"

class CComPortObj final : public CComPortWnd {
public:
    static constexpr int kQueueSize = 2048;

    CComPortObj() = default;
    ~CComPortObj() override;

    // Opens device ("COMn" or a path) with its reader thread handing lines to target.
    int openWithObject(const std::string& device, ILineTarget* target, int inQueue = kQueueSize,
                       int outQueue = kQueueSize);
};
