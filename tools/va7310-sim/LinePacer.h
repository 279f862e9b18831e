#pragma once
// CLinePacer: the instrument's transmitter. Lines queued for sending go out one character at a
// time, each character taking the time of its start, data, parity and stop bits at the line
// speed, back to back as a UART sends them; a character reaches the other end only once its last
// bit has gone. With a character time of zero everything goes out at once. No I/O: the caller
// passes the time and a writer, and gets back the lines whose last character has gone out.

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CLinePacer {
public:
    using Clock = std::chrono::steady_clock;

    enum class Fate {
        Whole,   // every character was taken by the writer
        Dropped, // the writer refused some characters (the receiver overran)
        HungUp,  // the line was cut by a hang-up part-way through
    };
    struct Sent {
        std::string line; // as queued
        Fate fate;
    };
    // Takes bytes for the wire; returns how many it took (the rest are lost).
    using Writer = std::function<std::size_t(std::string_view)>;

    // Time of one character: start bit, data bits, a parity bit when parity is on, stop bits.
    static std::chrono::nanoseconds characterTime(int baud, int dataBits, bool parity,
                                                  int stopBits);

    // Applies to the characters not yet sent; zero sends without delay.
    void setCharacterTime(std::chrono::nanoseconds time) { charTime_ = time; }

    // Queues a line behind those already queued; an idle wire starts sending it at now.
    // hangUpAfter: the line is the last before a hang-up and stops short (it is reported HungUp).
    void queue(std::string line, Clock::time_point now, bool hangUpAfter = false);

    // Hands every character whose transmission has ended by now to write, in order; returns the
    // lines that have gone out completely.
    std::vector<Sent> transmit(Clock::time_point now, const Writer& write);

    // When the next character will have gone out; time_point::max() when nothing is queued.
    Clock::time_point nextDue() const;
    bool idle() const { return queue_.empty(); }
    // Lines queued, the one going out included.
    std::size_t lines() const { return queue_.size(); }

private:
    // The most wire time sent at once after a late wake-up: more than the simulator's shortest
    // sleep (1 ms), so a fast line is never slowed, yet short enough that no line visibly
    // arrives faster than its speed allows.
    static constexpr std::chrono::milliseconds kMaxBurst{3};

    struct Pending {
        std::string line;
        std::size_t sent = 0;
        bool dropped = false;
        bool hangUp = false;
    };
    std::deque<Pending> queue_;
    std::chrono::nanoseconds charTime_{0};
    Clock::time_point lastEnd_{}; // when the previous character finished
};
