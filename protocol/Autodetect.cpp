#include "protocol/Autodetect.h"

int CAutodetect::baudRate(int rateIndex)
{
    static constexpr int kRates[kRateCount] = {9600, 19200, 38400, 57600, 115200};
    return kRates[rateIndex - 1];
}

bool CAutodetect::knownBaudRate(int rate)
{
    for (int index = 1; index <= kRateCount; ++index)
        if (baudRate(index) == rate)
            return true;
    return false;
}

void CAutodetect::start()
{
    port_ = scope_.firstPort;
    rateIndex_ = 0;
    retries_ = 0;
}

std::optional<CAutodetect::Setting> CAutodetect::next(bool garbled)
{
    retries_ = garbled ? (retries_ + 1) % kTriesPerSetting : 0;
    if (retries_ == 0) {
        do {
            ++rateIndex_;
            if (rateIndex_ > kRateCount) {
                rateIndex_ = 1;
                ++port_;
            }
        } while (port_ <= scope_.lastPort && scope_.baudRate != 0 &&
                 baudRate(rateIndex_) != scope_.baudRate);
        if (port_ > scope_.lastPort)
            return std::nullopt;
    }
    return Setting{port_, baudRate(rateIndex_)};
}
