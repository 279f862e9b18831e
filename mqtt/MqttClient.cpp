#include "mqtt/MqttClient.h"

#include <chrono>
#include <csignal>
#include <mosquitto.h>
#include <mutex>
#include <poll.h>

namespace {

void initLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        mosquitto_lib_init();
        // A write to a connection the broker closed (TLS writes without MSG_NOSIGNAL) must not
        // end the program: it shows as an error of the write.
        struct sigaction action {};
        if (::sigaction(SIGPIPE, nullptr, &action) == 0 && action.sa_handler == SIG_DFL)
            ::signal(SIGPIPE, SIG_IGN);
    });
}

} // namespace

std::string mqttConnackText(int code)
{
    // "Connection Refused: not authorised." reads "not authorised" after our own words.
    std::string text = mosquitto_connack_string(code);
    constexpr std::string_view kLead = "Connection Refused: ";
    if (text.starts_with(kLead))
        text.erase(0, kLead.size());
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

std::string mqttErrorText(int code) { return mosquitto_strerror(code); }

CMqttClient::CMqttClient(IMqttEvents& events) : events_(events) { initLibrary(); }

CMqttClient::~CMqttClient()
{
    if (handle_)
        mosquitto_destroy(handle_);
}

int CMqttClient::connect(const MqttSession& s)
{
    if (handle_)
        mosquitto_destroy(handle_);
    connected_ = false;
    open_ = false;
    handle_ = mosquitto_new(s.clientId.empty() ? nullptr : s.clientId.c_str(), s.cleanSession,
                            this);
    if (!handle_)
        return MOSQ_ERR_NOMEM;
    mosquitto_threaded_set(handle_, false);
    mosquitto_connect_callback_set(handle_, &CMqttClient::onConnect);
    mosquitto_disconnect_callback_set(handle_, &CMqttClient::onDisconnect);
    mosquitto_publish_callback_set(handle_, &CMqttClient::onPublish);
    mosquitto_message_callback_set(handle_, &CMqttClient::onMessage);
    mosquitto_max_inflight_messages_set(handle_, static_cast<unsigned>(s.maxInflight));
    mosquitto_int_option(handle_, MOSQ_OPT_TCP_NODELAY, 1);
    int rc = MOSQ_ERR_SUCCESS;
    if (!s.user.empty())
        rc = mosquitto_username_pw_set(handle_, s.user.c_str(),
                                       s.password.empty() ? nullptr : s.password.c_str());
    if (rc == MOSQ_ERR_SUCCESS && s.tls) {
        if (s.caFile.empty())
            rc = mosquitto_int_option(handle_, MOSQ_OPT_TLS_USE_OS_CERTS, 1);
        else
            rc = mosquitto_tls_set(handle_, s.caFile.c_str(), nullptr, nullptr, nullptr, nullptr);
    }
    if (rc == MOSQ_ERR_SUCCESS && !s.willTopic.empty())
        rc = mosquitto_will_set(handle_, s.willTopic.c_str(),
                                static_cast<int>(s.willPayload.size()), s.willPayload.data(), 1,
                                s.willRetain);
    if (rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_connect_async(handle_, s.host.c_str(), s.port, s.keepAliveSeconds);
    open_ = rc == MOSQ_ERR_SUCCESS;
    return rc;
}

int CMqttClient::socket() const { return handle_ && open_ ? mosquitto_socket(handle_) : -1; }

bool CMqttClient::wantWrite() const { return handle_ && open_ && mosquitto_want_write(handle_); }

int CMqttClient::step()
{
    if (!handle_ || !open_)
        return MOSQ_ERR_NO_CONN;
    // A zero time-out: select() only reports what is ready, the caller's loop does the waiting.
    int rc = mosquitto_loop(handle_, 0, 1);
    // What the events queued during the step (a publish answering an acknowledgement) goes out
    // now, not after another turn of the caller's loop.
    if (rc == MOSQ_ERR_SUCCESS && connected_ && open_ && mosquitto_want_write(handle_))
        rc = mosquitto_loop_write(handle_, 1);
    if (rc != MOSQ_ERR_SUCCESS)
        lost(rc);
    return rc;
}

int CMqttClient::publish(std::string_view topic, std::string_view payload, int qos, bool retain,
                         int* mid)
{
    if (!handle_ || !connected_)
        return MOSQ_ERR_NO_CONN;
    const std::string name(topic);
    return mosquitto_publish(handle_, mid, name.c_str(), static_cast<int>(payload.size()),
                             payload.data(), qos, retain);
}

int CMqttClient::subscribe(std::string_view pattern, int qos)
{
    if (!handle_ || !connected_)
        return MOSQ_ERR_NO_CONN;
    const std::string name(pattern);
    return mosquitto_subscribe(handle_, nullptr, name.c_str(), qos);
}

void CMqttClient::finish(int timeoutMs)
{
    if (handle_ && open_) {
        if (connected_)
            mosquitto_disconnect(handle_);
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        // Writes the queued packets and the disconnect, which closes the socket.
        while (open_ && mosquitto_socket(handle_) >= 0 && mosquitto_want_write(handle_)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd fd{mosquitto_socket(handle_), POLLOUT, 0};
            if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
                break;
            if (mosquitto_loop_write(handle_, 1) != MOSQ_ERR_SUCCESS)
                break;
        }
    }
    close();
}

void CMqttClient::close()
{
    if (handle_) {
        // Destroying closes the socket without a disconnect packet.
        mosquitto_destroy(handle_);
        handle_ = nullptr;
    }
    connected_ = false;
    open_ = false;
}

void CMqttClient::lost(int code)
{
    if (!open_)
        return;
    open_ = false;
    connected_ = false;
    events_.mqttDisconnected(code);
}

void CMqttClient::onConnect(mosquitto*, void* self, int code)
{
    auto* client = static_cast<CMqttClient*>(self);
    client->connected_ = code == 0;
    client->events_.mqttConnected(code);
}

void CMqttClient::onDisconnect(mosquitto*, void* self, int code)
{
    static_cast<CMqttClient*>(self)->lost(code == 0 ? 0 : MOSQ_ERR_CONN_LOST);
}

void CMqttClient::onPublish(mosquitto*, void* self, int mid)
{
    static_cast<CMqttClient*>(self)->events_.mqttPublished(mid);
}

void CMqttClient::onMessage(mosquitto*, void* self, const mosquitto_message* message)
{
    static_cast<CMqttClient*>(self)->events_.mqttMessage(
        message->topic,
        std::string_view(static_cast<const char*>(message->payload),
                         static_cast<std::size_t>(message->payloadlen)));
}
