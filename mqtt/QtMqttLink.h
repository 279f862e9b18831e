#pragma once
// A broker connection on Qt's event loop: the client's socket on two QSocketNotifiers (reading
// always, writing while the client has something to send), its keep-alive on a one-second
// timer, and connecting again after a refusal, a time-out or a lost connection with the pauses
// of CReconnectSchedule. Each kind of failure is logged once until it changes or the broker
// accepts; nothing polls.

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/ReconnectSchedule.h"
#include "mqtt/MqttClient.h"

class CQtMqttLink final : public QObject, private IMqttEvents {
public:
    struct Handlers {
        std::function<void()> up;   // the broker accepted the connection
        std::function<void()> down; // the connection that was up is gone
        std::function<void(int mid)> published;
        std::function<void(std::string_view topic, std::string_view payload)> message;
        std::function<void(std::string_view line)> log;
    };

    // A connection that has not been accepted within this time is given up and tried again.
    static constexpr int kConnectTimeoutMs = 10000;

    CQtMqttLink(Handlers handlers, QObject* parent = nullptr);
    ~CQtMqttLink() override;

    // Connects, and keeps connecting until stop(); name is how the log calls the broker.
    void start(const MqttSession& session, std::string name);
    // Sends what is queued and disconnects cleanly (waiting at most timeoutMs), then stays
    // down.
    void stop(int timeoutMs = 2000);

    CMqttClient& client() { return client_; }
    bool up() const { return up_; }
    // The last failure, as logged ("connection refused: not authorised"); empty once accepted.
    const std::string& problem() const { return problem_; }

private:
    void mqttConnected(int code) override;
    void mqttDisconnected(int code) override;
    void mqttPublished(int mid) override;
    void mqttMessage(std::string_view topic, std::string_view payload) override;

    void attempt();
    void step();
    void watchSocket();
    // The attempt or the connection failed: log (once per kind) and try again later.
    void failed(const std::string& why);

    Handlers h_;
    CMqttClient client_;
    MqttSession session_;
    std::string name_;
    CReconnectSchedule schedule_;
    QTimer housekeeping_;
    QTimer retry_;
    QTimer connectTimeout_;
    std::unique_ptr<QSocketNotifier> reader_;
    std::unique_ptr<QSocketNotifier> writer_;
    bool running_ = false;
    bool up_ = false;
    // Set by the client's events during a step, handled after it.
    std::string refusal_;
    int lostCode_ = -1;
    std::string problem_;
};
