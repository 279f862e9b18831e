#include "core/ReconnectSchedule.h"

#include <algorithm>

int CReconnectSchedule::nextPauseMs()
{
    const int pause = nextMs_;
    nextMs_ = std::min(nextMs_ * 2, kLongestPauseMs);
    return pause;
}
