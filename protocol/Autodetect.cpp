#include "protocol/Autodetect.h"

int CAutodetect::baudRate(int rateIndex)
{
    static constexpr int kRates[kRateCount] = {9600, 19200, 38400, 57600, 115200};
    return kRates[rateIndex - 1];
}

void CAutodetect::start()
{
    port_ = kFirstPort;
    rateIndex_ = 0;
    retries_ = 0;
}

std::optional<CAutodetect::Setting> CAutodetect::next(bool garbled)
{
    retries_ = garbled ? (retries_ + 1) % kTriesPerSetting : 0;
    if (retries_ == 0) {
        ++rateIndex_;
        if (rateIndex_ > kRateCount) {
            rateIndex_ = 1;
            ++port_;
        }
        if (port_ > kLastPort)
            return std::nullopt;
    }
    return Setting{port_, baudRate(rateIndex_)};
}
