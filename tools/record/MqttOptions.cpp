#include "tools/record/MqttOptions.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "mqtt/MqttTopics.h"
#include "stats/StatsPeriod.h"

namespace {

const char* const kHints[][2] = {
    {"--mqtt", "mqtt://[user[:password]@]host[:port][/prefix] or mqtts://..."},
    {"--subscribe", "mqtt://[user[:password]@]host[:port][/prefix] or mqtts://..."},
    {"--out-dir", "a folder"},
    {"--mqtt-cafile", "a PEM certificate file"},
    {"--mqtt-password-file", "a file whose first line is the password"},
    {"--station", "a name without '/', '+' or '#'"},
    {"--stats-period", "10m, 1h, 600s, ... (a whole divisor of a day, at least a minute)"},
};

} // namespace

std::string hostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

const char* mqttValueHint(const std::string& name)
{
    for (const auto& entry : kHints)
        if (name == entry[0])
            return entry[1];
    return nullptr;
}

bool setMqttValue(const std::string& name, const std::string& value, MqttOptions* options,
                  bool* valid)
{
    if (!mqttValueHint(name))
        return false;
    *valid = !value.empty();
    if (name == "--mqtt")
        options->publishUrl = value;
    else if (name == "--subscribe")
        options->subscribeUrl = value;
    else if (name == "--out-dir")
        options->outDir = value;
    else if (name == "--mqtt-cafile")
        options->caFile = value;
    else if (name == "--mqtt-password-file")
        options->passwordFile = value;
    else if (name == "--station")
        *valid = isStationName(value), options->station = value;
    else
        *valid = parseStatsPeriod(value, options->statsPeriod);
    return true;
}

bool finishMqttOptions(MqttOptions* o, bool recorderOptions, std::string* message)
{
    const bool any = o->publishing() || o->archiving();
    if (o->publishing() && o->archiving()) {
        *message = "--mqtt and --subscribe exclude each other: a recorder publishes, an "
                   "archiver subscribes";
        return false;
    }
    if (o->archiving() != !o->outDir.empty()) {
        *message = "--subscribe and --out-dir go together";
        return false;
    }
    if (o->archiving() && (recorderOptions || !o->station.empty() || o->statsPeriod != 0)) {
        *message = "the archiver (--subscribe) takes none of the recorder's options";
        return false;
    }
    if (!any && (!o->caFile.empty() || !o->passwordFile.empty() || !o->station.empty() ||
                 o->statsPeriod != 0)) {
        *message = "--mqtt-cafile, --mqtt-password-file, --station and --stats-period need "
                   "--mqtt (or --subscribe)";
        return false;
    }
    if (!any)
        return true;
    std::string error;
    const std::string& url = o->publishing() ? o->publishUrl : o->subscribeUrl;
    if (!parseMqttUrl(url, o->broker, &error)) {
        *message = "invalid broker URL '" + url + "': " + error;
        return false;
    }
    if (!o->caFile.empty() && !o->broker.tls) {
        *message = "--mqtt-cafile needs an mqtts:// URL";
        return false;
    }
    if (o->publishing() && o->station.empty()) {
        o->station = hostName();
        if (!isStationName(o->station)) {
            *message = "the host name '" + o->station + "' is no station name: give --station";
            return false;
        }
    }
    if (!o->broker.hasPassword && !o->passwordFile.empty()) {
        std::ifstream in(o->passwordFile);
        if (!in || !std::getline(in, o->broker.password)) {
            *message = "cannot read the password file '" + o->passwordFile + "'";
            return false;
        }
        o->broker.hasPassword = true;
    }
    if (!o->broker.hasPassword)
        if (const char* password = std::getenv(kMqttPasswordVariable)) {
            o->broker.password = password;
            o->broker.hasPassword = true;
        }
    return true;
}

std::string mqttUsage()
{
    return "Station networks:\n"
           "  --mqtt URL          also publish each sample, the statistics and the status\n"
           "                      to an MQTT broker:\n"
           "                      mqtt://[user[:password]@]host[:port][/prefix], mqtts://\n"
           "                      for TLS (default port 1883 or 8883, prefix ventora)\n"
           "  --station NAME      the station's name in the topics (default: the host name)\n"
           "  --stats-period P    the statistics period (10m, 1h, ...; default 10m)\n"
           "  --mqtt-cafile FILE  the certificate authority of an mqtts:// broker\n"
           "  --mqtt-password-file FILE\n"
           "                      the password, if not in the URL; else the environment\n"
           "                      variable VENTORA_MQTT_PASSWORD\n"
           "  --subscribe URL --out-dir DIR  run as the archiver instead: every station's\n"
           "                      samples into DIR/STATION/STATION-YYYYMMDD.ivt\n"
           "Publishing resumes after an outage from the cursor file FILE.cursor beside the\n"
           "recording: nothing is lost while the broker is away.\n";
}
