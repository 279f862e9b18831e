#pragma once
// Milliseconds on the steady clock: the one time base of the serial reader's arrival times and of
// the protocol timers, so that the two compare directly.

#include <chrono>
#include <cstdint>

inline std::int64_t steadyNowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
