#pragma once
// The topics of a station: PREFIX/STATION/sample, .../stats and .../status. A station name is
// one topic level and, at the archiver, one folder name.

#include <optional>
#include <string>
#include <string_view>

// Not empty, at most 200 bytes of UTF-8 without '/', '+', '#' or control characters, and not
// "." or ".." (it names a folder at the archiver).
bool isStationName(std::string_view name);

std::string sampleTopic(std::string_view prefix, std::string_view station);
std::string statsTopic(std::string_view prefix, std::string_view station);
std::string statusTopic(std::string_view prefix, std::string_view station);
// PREFIX/+/sample: every station's samples.
std::string allSamplesTopic(std::string_view prefix);

// The station of PREFIX/STATION/sample, or nothing for another topic or an invalid name.
std::optional<std::string> stationOfSampleTopic(std::string_view prefix, std::string_view topic);
