#pragma once
// CComPort: one serial device over POSIX termios, with the line settings, purge, break and
// bounded transfers the instrument link needs. Every operation returns an integer result code
// (ComResult below, otherwise errno) and remembers it as the last error.
//
// Threads: all calls come from one thread (the GUI thread). lastError() may be read from any
// thread. A derived reader thread uses the descriptor only between open and close.
//
// The device is opened non-blocking, exclusively (TIOCEXCL, plus an advisory flock so that two
// programs running as root exclude each other too), and raw: bytes pass unchanged.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct termios;

namespace ComResult {
inline constexpr int kSuccess = 0;
inline constexpr int kInvalidHandle = 6;           // the port is not open
inline constexpr int kAlreadyInitialized = 1247;   // open on an open port
inline constexpr int kTimeout = 1460;              // a transfer did not complete in 100 ms
inline constexpr int kInvalidArgument = static_cast<int>(0x80070057u);
} // namespace ComResult

// Line events, with the values the program's masks use.
namespace ComEvent {
inline constexpr std::uint32_t kRxChar = 0x0001;   // a byte arrived
inline constexpr std::uint32_t kRxFlag = 0x0002;   // the event character arrived
inline constexpr std::uint32_t kBreak = 0x0040;    // a break was received
inline constexpr std::uint32_t kError = 0x0080;    // line error or hang-up
inline constexpr std::uint32_t kDefaultMask = kRxChar | kBreak | kError; // 0xC1
} // namespace ComEvent

class CComPort {
public:
    static constexpr int kParityNone = 0;
    static constexpr int kParityOdd = 1;
    static constexpr int kParityEven = 2;
    static constexpr int kParityMark = 3;
    static constexpr int kParitySpace = 4;
    static constexpr int kStopBitsOne = 0;
    static constexpr int kStopBitsOneAndHalf = 1; // only with 5 data bits
    static constexpr int kStopBitsTwo = 2;
    static constexpr int kHandshakeNone = 0;
    static constexpr int kHandshakeHardware = 1;
    static constexpr int kHandshakeSoftware = 2;
    static constexpr int kReadNonBlocking = 0;
    static constexpr int kReadBlocking = 1;
    static constexpr int kTransferWaitMs = 100; // longest a read or write blocks its caller
    static constexpr int kInfinite = -1;

    CComPort() = default;
    CComPort(const CComPort&) = delete;
    CComPort& operator=(const CComPort&) = delete;
    virtual ~CComPort();

    // Opens a COM name ("COM1", resolved by resolveComName) or a device path. Defaults: event
    // mask 0xC1, 9600 baud, 8 data bits, no parity, one stop bit, non-blocking reads, no
    // handshaking. A missing device gives ENOENT, a forbidden one EACCES, a device in use EBUSY;
    // any failure leaves the port closed. Queue sizes are accepted for the record only: the
    // kernel sizes its own tty buffers.
    virtual int open(const std::string& device, int inQueue = 2048, int outQueue = 2048);
    // Closes the device; 0 on a closed port.
    virtual int close();

    virtual int configureLine(int baud, int dataBits, int parity, int stopBits);
    // Sets the event character; adjustMask adds kRxFlag to the event mask. A tty cannot report
    // one particular byte without reading it, so the character is kept for getEventChar() only.
    virtual int setEventChar(char eventChar, bool adjustMask);
    virtual int setEventMask(std::uint32_t mask);
    // Waits up to timeoutMs (kInfinite: no limit) for a masked event; kTimeout when none came.
    virtual int waitEvent(int timeoutMs);
    virtual int setHandshaking(int kind);
    virtual int setReadTimeouts(int kind);

    // Getters read the device's current settings: -1 on failure (0 for the event mask and the
    // event character).
    virtual int getBaudRate();
    virtual int getDataBits();
    virtual int getParity();
    virtual int getStopBits();
    virtual int getHandshaking();
    virtual std::uint32_t getEventMask();
    virtual char getEventChar();
    // Events delivered by the last completed waitEvent(); taking them resets them to all bits.
    std::uint32_t takeEvents();

    // Writes without adding a terminator. A write that cannot finish within 100 ms returns
    // kTimeout with the bytes sent so far in *written; nothing of it stays pending afterwards.
    virtual int writeText(std::string_view text);
    virtual int write(const void* data, std::size_t count, std::size_t* written = nullptr,
                      int timeoutMs = kInfinite);
    virtual int writeByte(char byte);
    // Non-blocking kind: returns at once with what has arrived. Blocking kind: waits up to
    // 100 ms for count bytes, else kTimeout with the bytes read so far in *got.
    virtual int read(void* data, std::size_t count, std::size_t* got = nullptr,
                     int timeoutMs = kInfinite);

    // Discards both directions' queued bytes.
    virtual int purge();
    // Line break: setBreak, wait, clearBreak.
    int setBreak();
    int clearBreak();
    int sendBreak(int milliseconds = 20);

    bool isOpen() const { return fd_ >= 0; }
    int lastError() const { return lastError_.load(std::memory_order_relaxed); }
    // Device path in use while open (the resolved COM name).
    const std::string& devicePath() const { return path_; }

protected:
    int fd() const { return fd_; }
    // Stores a result code as the last error and returns it; every operation leaves through it.
    int result(int code)
    {
        lastError_.store(code, std::memory_order_relaxed);
        return code;
    }
    // Closes the descriptor and forgets the device.
    void closeDescriptor();

private:
    int applyDefaults();
    // Reads the device's termios, storing the result code; false when that failed.
    bool readSettings(termios& tio);
    int setModemLine(int line, bool on);

    int fd_ = -1;
    bool exclusive_ = false; // we set TIOCEXCL on fd_ and clear it on close
    std::string path_;
    std::atomic<int> lastError_{0};
    std::uint32_t eventMask_ = 0;
    std::uint32_t lastEvents_ = 0xFFFFFFFFu; // events of the last completed wait, all bits once taken
    char eventChar_ = 0;
    int readKind_ = kReadNonBlocking;
};
