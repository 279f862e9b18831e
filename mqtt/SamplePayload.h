#pragma once
// The JSON of one recorded sample, as the recorder publishes it and the archiver reads it:
//   {"station": "mast1", "seq": 42, "time": "2024-05-17T12:00:01+02:00",
//    "line": "<the 104-character data text>", "values": {"SoW": 3.21, ..., "Ain4": null},
//    "units": {"SoW": "m/s", ...}}
// "line" holds the recorded bytes one character each (byte 0xB0 is U+00B0), so the archiver
// gets them back exactly; "values" has a number for each field that holds one and null for a
// field marker, a blank field or a non-number.

#include <cstdint>
#include <string>
#include <string_view>

class Unit;

// "2024/05/17 12:00:01" (the recording layout, local time) as ISO 8601 with the local UTC
// offset of that moment: "2024-05-17T12:00:01+02:00". Empty when the text has another shape.
std::string isoLocalTime(std::string_view recordingTime);

// recordingTime as in a recording line, dataText its 104 characters.
std::string samplePayload(std::string_view station, std::uint64_t seq,
                          std::string_view recordingTime, std::string_view dataText,
                          const Unit& unit);

struct SampleMessage {
    std::string station;
    std::uint64_t seq = 0;
    std::string recordingTime; // "YYYY/MM/DD HH:MM:SS"
    std::string dataText;      // 104 bytes, ready for the recording writer
};

// Reads what the archiver needs; false for anything that is not such an object: malformed JSON,
// a missing or mistyped member, a station that isStationName() refuses, seq 0 or beyond 2^63,
// a time without its offset, or a line that would not make a recording line.
bool parseSamplePayload(std::string_view json, SampleMessage& message);
