#include "tests/support/MqttProbe.h"

#include <algorithm>
#include <chrono>
#include <poll.h>
#include <thread>

void MqttProbe::pump(int ms)
{
    const int fd = client_.socket();
    if (fd < 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return;
    }
    pollfd watch{fd, static_cast<short>(POLLIN | (client_.wantWrite() ? POLLOUT : 0)), 0};
    ::poll(&watch, 1, ms);
    client_.step();
}

template <class Done> bool MqttProbe::runUntil(Done done, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        pump(20);
    }
    return true;
}

bool MqttProbe::connect(const std::string& pattern, int timeoutMs)
{
    if (client_.connect(session_) != 0 || !runUntil([this] { return code_.has_value(); }, timeoutMs) ||
        *code_ != 0)
        return false;
    if (!pattern.empty())
        client_.subscribe(pattern, 1);
    pump(0);
    return true;
}

bool MqttProbe::waitForMessages(std::size_t count, int timeoutMs)
{
    return runUntil([&] { return messages.size() >= count; }, timeoutMs);
}

bool MqttProbe::publish(const std::string& topic, const std::string& payload, bool retain,
                        int timeoutMs)
{
    int mid = 0;
    if (client_.publish(topic, payload, 1, retain, &mid) != 0)
        return false;
    return runUntil([&] { return std::find(acked_.begin(), acked_.end(), mid) != acked_.end(); },
                    timeoutMs);
}
