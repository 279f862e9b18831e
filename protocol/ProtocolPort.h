#pragma once
// What the protocol engine needs of the serial port. The window layer adapts the program's one
// port object to it; tests record the calls. Every call is made on the window thread. The two
// flags are the handshake with the port's reader thread: it reads bytes only while reception is
// enabled and disables it when it hands a line over; in dialogue mode it ends a line at a line
// feed or a colon instead of a carriage return.

#include <cstdint>
#include <string>
#include <string_view>

class IProtocolPort {
public:
    virtual ~IProtocolPort() = default;

    // Opens a device by COM name ("COM1".."COM3") with queues of 2048 bytes, lines going to the
    // frame. Integer result code, 0 on success.
    virtual int open(const std::string& comName) = 0;

    // Line settings: baud rate, data bits, parity (0 none), stop bits (0 one, 1 one and a
    // half, 2 two). Integer result code.
    virtual int configureLine(int baudRate, int dataBits, int parity, int stopBits) = 0;

    virtual int close() = 0;

    // Discards both driver queues.
    virtual int purge() = 0;

    // Holds the line in the break condition for 20 ms.
    virtual int sendBreak() = 0;

    // Writes the bytes as they are, without a terminator.
    virtual int write(std::string_view bytes) = 0;

    // Empties the reader's buffer of a partly received line.
    virtual void clearLineBuffer() = 0;

    virtual void setReceiveEnable(bool enable) = 0;
    virtual void setDialogueMode(bool dialogue) = 0;

    // When bytes reached the port's reader, on the clock of ITimerTable::nowMs(), -1 for none:
    // the last byte, and the oldest complete line that the engine has not handled yet.
    struct Arrivals {
        std::int64_t lastByteMs = -1;
        std::int64_t waitingLineMs = -1;
    };
    virtual Arrivals arrivals() const { return {}; }
};
