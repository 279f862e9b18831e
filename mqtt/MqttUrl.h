#pragma once
// A broker address as users give it: mqtt://[user[:password]@]host[:port][/prefix], or
// mqtts:// for TLS. The port defaults to 1883 (8883 with TLS), the topic prefix to "ventora".

#include <string>
#include <string_view>

#include "mqtt/MqttClient.h"

inline constexpr std::string_view kDefaultTopicPrefix = "ventora";

struct MqttUrl {
    bool tls = false;
    std::string user;
    std::string password;
    bool hasPassword = false; // the URL held one (possibly empty)
    std::string host;
    int port = 1883;
    std::string prefix{kDefaultTopicPrefix};

    // "mqtt://user@host:port/prefix": never the password.
    std::string display() const;
    // A session with this broker, user and password (the other settings their defaults).
    MqttSession session() const;
};

// False, with *error saying what is wrong in one phrase, for anything else. Percent escapes
// (%40 for '@') are decoded in the user and the password. The prefix may hold several levels
// but no wildcard, no empty level and no trailing '/'.
bool parseMqttUrl(std::string_view text, MqttUrl& url, std::string* error);
