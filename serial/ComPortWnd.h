#pragma once
// CComPortWnd: a CComPort with a reader thread that assembles incoming bytes into lines and
// hands each complete line to an ILineTarget.
//
// Threads: open, close, writes, purge, break, clearLineBuffer and the flag setters are GUI-thread
// calls. The reader thread reads the port, owns the line buffer, reads both flags and clears
// receive-enable when it hands a line over; it calls the target only. The flag, generation and
// session getters are safe from any thread.
//
// Reading: the thread takes in whatever the driver holds as soon as it comes (up to 1 MiB waiting
// for the frame), so that a hang-up, which makes the driver forget its queue, loses nothing that
// had arrived. Lines are handed over one at a time, only while receive-enable is set; the next
// one when it is set again. A carriage return ends a line, or in dialogue mode a line feed or a
// colon. A line may hold 255 bytes, terminator included; the 256th byte asks for a disconnect,
// once, and the rest of that line is dropped. A hang-up or a read error hands over at once the
// complete lines taken in before it, then asks for a disconnect once and ends the thread. The
// thread sleeps in poll() on the port and an eventfd, so it never spins; close() wakes it and
// joins it.
//
// Forgetting: purge() and clearLineBuffer() forget what has been received. Each read happens
// under the lock they take, so a byte is either forgotten or belongs to what comes after, never
// both. A line they cut (its start forgotten, its rest still on the wire) is dropped whole: the
// rest is skipped up to its carriage return (or, in dialogue mode, a line feed or colon), so
// that it never poses as the answer to the command sent next. Both advance the generation that
// stamps every line (and every watchdog stop); opening and closing advance it too, and the
// session that stamps every disconnect request.
//
// Arrival times: the reader notes when bytes came in (steadyNowMs()), so that the frame can tell
// a silent instrument from a busy window thread.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "serial/ComPort.h"
#include "serial/LineTarget.h"

class CComPortWnd : public CComPort {
public:
    static constexpr std::size_t kMaxLine = 255;

    CComPortWnd() = default;
    ~CComPortWnd() override;

    using CComPort::open;
    // Opens the port and starts the reader thread, which hands its lines to target (lines are
    // dropped and reception goes on when target is null). Any failure closes what was opened.
    virtual int openWithTarget(const std::string& device, ILineTarget* target, int inQueue,
                               int outQueue);
    // Stops and joins the reader thread, then closes the port.
    int close() override;
    // Forgets everything received so far, wherever it is: the line being assembled, the bytes
    // taken in and the bytes still in the driver (read out, so that the last of them tells
    // whether a line was cut, whose rest is then skipped); drops the queued output. The same
    // bytes give the same result whether or not the reader had assembled them yet.
    int purge() override;

    // Receive-enable starts clear and is kept across close and open: the frame sets it.
    bool receiveEnabled() const { return receiveEnable_.load(); }
    // Setting it wakes the reader thread, which then reads the bytes waiting.
    void setReceiveEnabled(bool enabled);
    bool dialogue() const { return dialogue_.load(); }
    void setDialogue(bool on) { dialogue_.store(on); }
    // Drops the bytes of an incomplete line, and the rest of that line when it comes; also
    // allowed while closed.
    void clearLineBuffer();
    // True while the reader thread runs (it ends by itself after a line failure).
    bool readerRunning() const { return readerRunning_.load(); }
    // The stamp of lines completed from now on; see the file comment.
    unsigned generation() const { return generation_.load(); }
    // The stamp of disconnect requests of the port as now open.
    unsigned session() const { return session_.load(); }

    // When bytes reached the reader, in steadyNowMs() milliseconds, -1 for none: the last byte
    // since opening, and the oldest complete line not yet handled (handed over and waiting for
    // the frame, or taken in and waiting its turn). Safe from any thread.
    struct Arrivals {
        std::int64_t lastByteMs = -1;
        std::int64_t waitingLineMs = -1;
    };
    Arrivals arrivals() const;

protected:
    // The reader thread: waits, reads and hands over lines until stopped or the line fails.
    virtual void threadBody();

private:
    // Bytes waiting in the driver that a purge reads out before it gives up and flushes them.
    static constexpr std::size_t kMaxDrain = 65536;
    // Bytes taken in and not yet handed over, at most: beyond, they wait in the driver.
    static constexpr std::size_t kMaxPending = 1 << 20;

    // Reads what the driver holds into the bytes taken in: 0, or the errno of the failure (EIO
    // for a hang-up).
    int takeInBytes();
    // Assembles the bytes taken in up to the next line end and hands that line over; true when
    // it completed a line or dropped an over-long one.
    bool assembleLine();
    // Appends one byte (bufferMutex_ held); true when it completed a line, which is then in *line.
    bool takeByte(char byte, std::string* line, bool* overflow);
    // Whether the byte may end a line that a purge cut (bufferMutex_ held).
    bool endsCutLine(char byte) const;
    // Forgets everything received (bufferMutex_ held).
    void resetLine();
    // Forgets everything received; the rest of a line is skipped when midLine (bufferMutex_ held).
    void forgetReceived(bool midLine);
    // Empties the bytes taken in (bufferMutex_ held).
    void clearPending();
    // When the byte at index of pending_ arrived (bufferMutex_ held).
    std::int64_t arrivalOf(std::size_t index) const;
    bool isTerminator(char byte) const;
    void handOver(std::string line, unsigned generation, std::int64_t arrivedMs);
    void lineFailure(int error);
    void requestDisconnect();
    void wake();
    void stopReader();

    ILineTarget* target_ = nullptr;
    std::thread reader_;
    int wakeFd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<bool> readerRunning_{false};
    std::atomic<bool> receiveEnable_{false};
    std::atomic<bool> dialogue_{false};
    mutable std::mutex bufferMutex_;
    std::string pending_;      // guarded by bufferMutex_: bytes taken in, from pendingAt_ on
    std::size_t pendingAt_ = 0; // guarded by bufferMutex_
    std::string lineBuffer_;   // guarded by bufferMutex_
    bool discarding_ = false;  // guarded by bufferMutex_: skipping the rest of an over-long line
    bool skippingCut_ = false; // guarded by bufferMutex_: skipping the rest of a cut line
    // Guarded by bufferMutex_: bytes taken in since opening, and for runs of them the count
    // at their end and when they came; when the last byte came; when the line handed over and not
    // yet handled came (-1: none).
    std::uint64_t takenIn_ = 0;
    std::deque<std::pair<std::uint64_t, std::int64_t>> arrivalRuns_;
    std::int64_t lastByteMs_ = -1;
    std::int64_t handedOverMs_ = -1;
    std::atomic<unsigned> generation_{0}; // written under bufferMutex_
    std::atomic<unsigned> session_{0};    // written under bufferMutex_
};
