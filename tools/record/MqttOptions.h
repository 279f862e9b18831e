#pragma once
// The station-network options of ventora-record: publishing to a broker (--mqtt), and the
// archiver mode (--subscribe with --out-dir).

#include <string>

#include "mqtt/MqttUrl.h"

struct MqttOptions {
    std::string publishUrl;   // --mqtt
    std::string subscribeUrl; // --subscribe
    std::string outDir;       // --out-dir
    std::string caFile;       // --mqtt-cafile
    std::string passwordFile; // --mqtt-password-file
    std::string station;      // --station; default the host name
    int statsPeriod = 0;      // --stats-period in seconds; 0: 10 minutes
    MqttUrl broker;           // the URL read, the password filled in (finishMqttOptions)

    bool publishing() const { return !publishUrl.empty(); }
    bool archiving() const { return !subscribeUrl.empty(); }
};

// The environment variable that may hold the broker password.
inline constexpr const char* kMqttPasswordVariable = "VENTORA_MQTT_PASSWORD";

// This machine's name (the default station), or empty when it cannot be read.
std::string hostName();

// Takes a value of one of these options: false when name is none of them; otherwise *valid
// says whether the value is acceptable.
bool setMqttValue(const std::string& name, const std::string& value, MqttOptions* options,
                  bool* valid);
// What a value of that option looks like, or null for another option.
const char* mqttValueHint(const std::string& name);

// Checks the options together once all are read; recorderOptions: whether options of the
// recorder proper (port, baud, out, ...) were given. Reads the URL, the default station name
// and the password (the URL's, else the password file's first line, else the environment).
// False with *message on a problem.
bool finishMqttOptions(MqttOptions* options, bool recorderOptions, std::string* message);

std::string mqttUsage();
