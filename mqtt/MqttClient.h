#pragma once
// A thin client over libmosquitto for a program's own event loop: it connects without blocking
// on the connection, and the owner calls step() whenever the socket is readable or writable
// (wantWrite() says whether to watch for writing) and about once a second for keep-alive. Each
// connection attempt uses a fresh libmosquitto instance, so no message the library kept from an
// earlier connection is sent again behind the owner's back. Events arrive through IMqttEvents,
// on the thread that calls step(), which is the only thread that may use the client.

#include <string>
#include <string_view>

struct mosquitto;
struct mosquitto_message;

class IMqttEvents {
public:
    virtual ~IMqttEvents() = default;
    // The broker answered the connection: code 0 accepted, otherwise its refusal (see
    // mqttConnackText()).
    virtual void mqttConnected(int code) = 0;
    // The connection ended (code 0: we asked for it).
    virtual void mqttDisconnected(int code) = 0;
    // The broker acknowledged the message of this id (QoS 1).
    virtual void mqttPublished(int mid) = 0;
    virtual void mqttMessage(std::string_view topic, std::string_view payload) = 0;
};

struct MqttSession {
    std::string host;
    int port = 1883;
    std::string user;     // empty: no user name
    std::string password; // sent only with a user name
    bool tls = false;
    std::string caFile;   // for tls: the certificate authority; empty: the system's
    std::string clientId; // empty: a random one
    bool cleanSession = true;
    int keepAliveSeconds = 30;
    std::string willTopic; // empty: no last will
    std::string willPayload;
    bool willRetain = false;
    int maxInflight = 100; // QoS 1 messages on their way at once
};

// libmosquitto's text for a refusal code of the broker ("not authorised"), and for one of its
// result codes.
std::string mqttConnackText(int code);
std::string mqttErrorText(int code);

class CMqttClient {
public:
    explicit CMqttClient(IMqttEvents& events);
    ~CMqttClient();
    CMqttClient(const CMqttClient&) = delete;
    CMqttClient& operator=(const CMqttClient&) = delete;

    // Starts a connection (dropping any earlier one); 0 or a libmosquitto result code.
    int connect(const MqttSession& session);
    // The socket to watch, or -1.
    int socket() const;
    bool wantWrite() const;
    // Reads and writes what the socket allows, without waiting, and keeps the connection alive.
    // A result other than 0 means the connection is gone (mqttDisconnected has been called).
    int step();

    // 0, or a libmosquitto result code; *mid gets the message id.
    int publish(std::string_view topic, std::string_view payload, int qos, bool retain,
                int* mid = nullptr);
    int subscribe(std::string_view pattern, int qos);

    // Sends what is queued and a clean disconnect, waiting at most timeoutMs; then closes.
    void finish(int timeoutMs);
    // Closes at once: a broker sees a lost connection (and publishes the last will).
    void close();

    bool connected() const { return connected_; }

private:
    static void onConnect(mosquitto*, void* self, int code);
    static void onDisconnect(mosquitto*, void* self, int code);
    static void onPublish(mosquitto*, void* self, int mid);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* message);
    // The connection ended: tells the owner once.
    void lost(int code);

    IMqttEvents& events_;
    mosquitto* handle_ = nullptr;
    bool connected_ = false;
    bool open_ = false; // between connect() and the end of the connection
};
