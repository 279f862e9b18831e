#include "tools/va7310-sim/LinePacer.h"

#include <algorithm>

std::chrono::nanoseconds CLinePacer::characterTime(int baud, int dataBits, bool parity,
                                                   int stopBits)
{
    if (baud <= 0)
        return std::chrono::nanoseconds(0);
    const long long bits = 1 + dataBits + (parity ? 1 : 0) + stopBits;
    return std::chrono::nanoseconds(bits * 1'000'000'000LL / baud);
}

void CLinePacer::queue(std::string line, Clock::time_point now, bool hangUpAfter)
{
    if (line.empty() && !hangUpAfter)
        return;
    // An idle wire starts now; a busy one sends the line right after the one in progress.
    if (queue_.empty())
        lastEnd_ = std::max(lastEnd_, now);
    queue_.push_back(Pending{std::move(line), 0, false, hangUpAfter});
}

std::vector<CLinePacer::Sent> CLinePacer::transmit(Clock::time_point now, const Writer& write)
{
    std::vector<Sent> done;
    while (!queue_.empty()) {
        Pending& head = queue_.front();
        std::size_t due = head.line.size() - head.sent;
        if (charTime_.count() > 0) {
            // A simulator woken late must not send faster than the wire: what was due during a
            // stall longer than kMaxBurst goes out later, as from a stalled instrument.
            const auto burst = std::max<Clock::duration>(kMaxBurst, charTime_);
            if (now - lastEnd_ > burst)
                lastEnd_ = now - burst;
            const auto elapsed = now - lastEnd_;
            const auto whole = elapsed.count() > 0 ? elapsed / charTime_ : 0;
            due = std::min<std::size_t>(due, static_cast<std::size_t>(whole));
            lastEnd_ += charTime_ * static_cast<long long>(due);
        } else {
            lastEnd_ = std::max(lastEnd_, now);
        }
        if (due > 0) {
            const std::string_view chunk(head.line.data() + head.sent, due);
            if (write(chunk) < due)
                head.dropped = true;
            head.sent += due;
        }
        if (head.sent < head.line.size())
            break; // the rest is still on its way
        const Fate fate = head.hangUp ? Fate::HungUp : head.dropped ? Fate::Dropped : Fate::Whole;
        done.push_back(Sent{std::move(head.line), fate});
        queue_.pop_front();
    }
    return done;
}

CLinePacer::Clock::time_point CLinePacer::nextDue() const
{
    if (queue_.empty())
        return Clock::time_point::max();
    return lastEnd_ + charTime_;
}
