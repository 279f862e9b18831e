#pragma once
// A test's own MQTT client on CMqttClient, pumped with poll(): it subscribes, collects messages
// and publishes, waiting at most the time it is given.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mqtt/MqttClient.h"

class MqttProbe final : private IMqttEvents {
public:
    explicit MqttProbe(MqttSession session) : session_(std::move(session)), client_(*this) {}

    // Connects and subscribes to pattern (none when empty); false when that did not happen.
    bool connect(const std::string& pattern, int timeoutMs = 5000);
    // Runs the client until the messages number count, or timeoutMs passed.
    bool waitForMessages(std::size_t count, int timeoutMs);
    // Publishes (QoS 1) and waits for the acknowledgement.
    bool publish(const std::string& topic, const std::string& payload, bool retain = false,
                 int timeoutMs = 5000);

    std::vector<std::pair<std::string, std::string>> messages;

private:
    void mqttConnected(int code) override { code_ = code; }
    void mqttDisconnected(int) override {}
    void mqttPublished(int mid) override { acked_.push_back(mid); }
    void mqttMessage(std::string_view topic, std::string_view payload) override
    {
        messages.emplace_back(topic, payload);
    }
    // One wait of at most ms for the socket, then a step.
    void pump(int ms);
    template <class Done> bool runUntil(Done done, int timeoutMs);

    MqttSession session_;
    CMqttClient client_;
    std::optional<int> code_;
    std::vector<int> acked_;
};
