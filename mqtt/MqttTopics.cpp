#include "mqtt/MqttTopics.h"

namespace {

std::string stationTopic(std::string_view prefix, std::string_view station, const char* leaf)
{
    std::string topic(prefix);
    topic += '/';
    topic += station;
    topic += '/';
    topic += leaf;
    return topic;
}

} // namespace

bool isStationName(std::string_view name)
{
    if (name.empty() || name.size() > 200 || name == "." || name == "..")
        return false;
    // Valid UTF-8 (topics and JSON need it) without control characters.
    for (std::size_t i = 0; i < name.size();) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte < 0x20 || byte == 0x7F || byte == '/' || byte == '+' || byte == '#')
            return false;
        const std::size_t length = byte < 0x80 ? 1 : byte >= 0xC2 && byte < 0xE0 ? 2
                                                 : byte >= 0xE0 && byte < 0xF0   ? 3
                                                 : byte >= 0xF0 && byte < 0xF5   ? 4
                                                                                 : 0;
        if (length == 0 || i + length > name.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(name[i + k]) & 0xC0) != 0x80)
                return false;
        // No overlong forms, surrogates or code points beyond U+10FFFF.
        const auto second = length > 1 ? static_cast<unsigned char>(name[i + 1]) : 0x80;
        if ((byte == 0xE0 && second < 0xA0) || (byte == 0xED && second > 0x9F) ||
            (byte == 0xF0 && second < 0x90) || (byte == 0xF4 && second > 0x8F))
            return false;
        i += length;
    }
    return true;
}

std::string sampleTopic(std::string_view prefix, std::string_view station)
{
    return stationTopic(prefix, station, "sample");
}

std::string statsTopic(std::string_view prefix, std::string_view station)
{
    return stationTopic(prefix, station, "stats");
}

std::string statusTopic(std::string_view prefix, std::string_view station)
{
    return stationTopic(prefix, station, "status");
}

std::string allSamplesTopic(std::string_view prefix) { return sampleTopic(prefix, "+"); }

std::optional<std::string> stationOfSampleTopic(std::string_view prefix, std::string_view topic)
{
    constexpr std::string_view kLeaf = "/sample";
    if (topic.size() <= prefix.size() + 1 + kLeaf.size() || topic.substr(0, prefix.size()) != prefix ||
        topic[prefix.size()] != '/' || topic.substr(topic.size() - kLeaf.size()) != kLeaf)
        return std::nullopt;
    const std::string_view station =
        topic.substr(prefix.size() + 1, topic.size() - prefix.size() - 1 - kLeaf.size());
    if (!isStationName(station))
        return std::nullopt;
    return std::string(station);
}
