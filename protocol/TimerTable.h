#pragma once
// The protocol engine's four timers, reached by id. The window layer runs them (over its own
// event loop) and calls CProtocolEngine::OnTimer(id) on every expiry; tests drive them with a
// fake clock. Timers repeat until killed, like window timers: setting a running timer again
// restarts it with the new period.

#include <cstdint>

namespace protocol_timer {
inline constexpr int kSend = 0;      // 200 ms: sends the command at the tail of the queue
inline constexpr int kReply = 1;     // the sent command's reply time-out
inline constexpr int kWatchdog = 6;  // dialogue silence, or the grace before a lost link closes
inline constexpr int kPoll = 7;      // 1 s: queues the next RS485 measure command

inline constexpr int kSendPeriodMs = 200;
inline constexpr int kPollPeriodMs = 1000;
inline constexpr int kDialogueSilenceMs = 10000;
inline constexpr int kLostLinkGraceMs = 200;
} // namespace protocol_timer

class ITimerTable {
public:
    virtual ~ITimerTable() = default;

    // Starts timer id, or restarts it when it runs, firing every periodMs milliseconds.
    virtual void setTimer(int id, int periodMs) = 0;

    // Stops timer id; a timer that does not run is left alone.
    virtual void killTimer(int id) = 0;

    // Whether timer id runs.
    virtual bool isActive(int id) const = 0;

    // Milliseconds on the timers' steady clock (steadyNowMs() for real timers).
    virtual std::int64_t nowMs() const = 0;
};
