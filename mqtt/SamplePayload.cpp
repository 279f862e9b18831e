#include "mqtt/SamplePayload.h"

#include <charconv>
#include <cmath>
#include <ctime>
#include <vector>
#include <nlohmann/json.hpp>

#include "core/CText.h"
#include "core/Channels.h"
#include "files/DataText.h"
#include "files/RecordingWriter.h"
#include "mqtt/MqttTopics.h"
#include "mqtt/SampleClock.h"
#include "mqtt/SampleUnits.h"
#include "stats/CivilTime.h"

using nlohmann::json;
using nlohmann::ordered_json;

namespace {

// Each byte as the code point of the same value, in UTF-8.
std::string bytesAsText(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() + 8);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

// The reverse of bytesAsText; false for a code point above U+00FF (or broken UTF-8, which the
// JSON parser has already refused).
bool textAsBytes(std::string_view text, std::string& bytes)
{
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            bytes += text[i];
        } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < text.size()) {
            bytes += static_cast<char>(((byte & 0x03) << 6) | (text[++i] & 0x3F));
        } else {
            return false;
        }
    }
    return true;
}

// The number a field holds, or null: markers, blanks and anything that is not wholly a finite
// number. A plain decimal is read exactly (mantissa over a power of ten) and, being a double,
// is written with its decimal point ("3.0"), so a consumer sees the same type in every sample.
ordered_json fieldJson(std::string_view field)
{
    if (hasFieldMarker(field))
        return nullptr;
    const std::string_view text = ctext::trimBoth(field);
    PlainDecimal decimal;
    if (parsePlainDecimal(text, decimal) &&
        text.find_first_not_of("+-.0123456789") == std::string_view::npos)
        return plainDecimalValue(decimal);
    double value = 0;
    const char* end = text.data() + text.size();
    const char* begin = text.data() + (!text.empty() && text.front() == '+' ? 1 : 0);
    const auto [ptr, code] = std::from_chars(begin, end, value);
    if (text.empty() || code != std::errc() || ptr != end || !std::isfinite(value))
        return nullptr;
    return value;
}

bool twoDigits(std::string_view text, std::size_t at)
{
    return at + 2 <= text.size() && std::isdigit(static_cast<unsigned char>(text[at])) &&
           std::isdigit(static_cast<unsigned char>(text[at + 1]));
}

// "YYYY-MM-DDTHH:MM:SS" followed by "Z" or "+HH:MM"/"-HH:MM", to the recording layout.
bool recordingTimeOf(std::string_view iso, std::string& recording)
{
    if (iso.size() < 20 || iso[4] != '-' || iso[7] != '-' || iso[10] != 'T' || iso[13] != ':' ||
        iso[16] != ':')
        return false;
    for (std::size_t at : {0u, 2u, 5u, 8u, 11u, 14u, 17u})
        if (!twoDigits(iso, at))
            return false;
    const std::string_view zone = iso.substr(19);
    if (!(zone == "Z" || (zone.size() == 6 && (zone[0] == '+' || zone[0] == '-') &&
                          twoDigits(zone, 1) && zone[3] == ':' && twoDigits(zone, 4))))
        return false;
    std::string text(iso.substr(0, 19));
    text[4] = '/';
    text[7] = '/';
    text[10] = ' ';
    std::int64_t seconds = 0;
    if (!parseCivilDateTime(text, seconds))
        return false;
    recording = std::move(text);
    return true;
}

} // namespace

std::string isoLocalTime(std::string_view recordingTime)
{
    std::int64_t seconds = 0;
    if (recordingTime.size() != 19 || !parseCivilDateTime(recordingTime, seconds))
        return {};
    // The offset changes at most on a whole minute: mktime(), which reads the zone rules, is
    // asked once a minute, not once a sample.
    thread_local std::string lastMinute;
    thread_local std::string lastZone;
    if (recordingTime.substr(0, 16) != lastMinute) {
        std::tm local = CSampleClock(recordingTime).localNow();
        local.tm_isdst = -1;
        long offset = 0;
        if (std::mktime(&local) != static_cast<std::time_t>(-1))
            offset = local.tm_gmtoff;
        char zone[8];
        const long minutes = std::labs(offset) / 60;
        std::snprintf(zone, sizeof zone, "%c%02ld:%02ld", offset < 0 ? '-' : '+',
                      minutes / 60 % 100, minutes % 60);
        lastMinute = std::string(recordingTime.substr(0, 16));
        lastZone = zone;
    }
    std::string iso(recordingTime);
    iso[4] = '-';
    iso[7] = '-';
    iso[10] = 'T';
    return iso + lastZone;
}

const ordered_json& unitsObject(const Unit& unit)
{
    thread_local std::vector<std::string> lastTexts;
    thread_local ordered_json lastObject;
    std::vector<std::string> texts;
    for (int k = 0; k < kChannelCount; ++k)
        texts.push_back(channelUnitText(k, unit));
    if (texts == lastTexts && lastObject.is_object())
        return lastObject;
    ordered_json units = ordered_json::object();
    for (int k = 0; k < kChannelCount; ++k) {
        std::string text;
        ctext::appendUtf8(text, texts[static_cast<std::size_t>(k)]);
        if (!text.empty())
            units[channelName(k)] = text;
    }
    lastTexts = std::move(texts);
    lastObject = std::move(units);
    return lastObject;
}

std::string samplePayload(std::string_view station, std::uint64_t seq,
                          std::string_view recordingTime, std::string_view dataText,
                          const Unit& unit)
{
    ordered_json values = ordered_json::object();
    for (int k = 0; k < kChannelCount; ++k)
        values[channelName(k)] = fieldJson(dataTextField(dataText, static_cast<std::size_t>(k)));
    ordered_json out; // members in the documented order
    out["station"] = std::string(station);
    out["seq"] = seq;
    out["time"] = isoLocalTime(recordingTime);
    out["line"] = bytesAsText(dataText);
    out["values"] = std::move(values);
    out["units"] = unitsObject(unit);
    return out.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

bool parseSamplePayload(std::string_view text, SampleMessage& message)
{
    const json document = json::parse(text, nullptr, false);
    if (!document.is_object())
        return false;
    const auto station = document.find("station");
    const auto seq = document.find("seq");
    const auto time = document.find("time");
    const auto line = document.find("line");
    if (station == document.end() || !station->is_string() || seq == document.end() ||
        !seq->is_number_unsigned() || time == document.end() || !time->is_string() ||
        line == document.end() || !line->is_string())
        return false;
    SampleMessage result;
    result.station = station->get<std::string>();
    result.seq = seq->get<std::uint64_t>();
    if (!isStationName(result.station) || result.seq == 0 ||
        result.seq > (std::uint64_t{1} << 63) ||
        !recordingTimeOf(time->get<std::string>(), result.recordingTime) ||
        !textAsBytes(line->get<std::string>(), result.dataText) ||
        !makesRecordingLine(result.dataText))
        return false;
    message = std::move(result);
    return true;
}
