#pragma once
// Reading the instrument's replies. Every reply is one line with its terminator. Identification:
// "Vavizi232" or "Dirado485", "&", the unit of wind speed, "&". Measure: "IIIIM1I", "&", the data
// text, "&". A streamed RS232 data line is the data text alone. A data text is thirteen fields of
// eight characters in channel order.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t kFieldWidth = 8;
inline constexpr std::size_t kFieldCount = 13;
inline constexpr std::size_t kDataTextLength = kFieldWidth * kFieldCount;

struct IdentificationReply {
    std::string lineType; // "232", "485", or empty when the identity is not known
    std::string unit;     // between the first and the last "&"; empty with only one "&"
};

// Nothing when the reply has no "&".
std::optional<IdentificationReply> parseIdentification(std::string_view reply);

// The data text of a measure reply; nothing when the reply has no "&".
std::optional<std::string> parseMeasureReply(std::string_view reply);

// The data text of a streamed RS232 line.
std::string parseDataLine(std::string_view reply);

// Blanks and the terminator removed at the right end, except that a text of exactly 104
// characters before its terminator keeps its blanks (its last field may end in a blank).
std::string trimDataText(std::string_view text);

// The consecutive 8-character fields of a data text, at most thirteen; a shorter remainder
// ends the list.
std::vector<std::string_view> splitDataFields(std::string_view data);
