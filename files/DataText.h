#pragma once
// The data text of one instrument sample: 104 characters, thirteen fields of 8 characters in
// channel order. A field holds a number as the instrument sent it, or a marker ("_err", "_ofl",
// "_und", "---- --") meaning that it has no value; tables show such a field as "---  --",
// graphs and exports take it as -999.

#include <cstddef>
#include <string_view>

inline constexpr std::size_t kDataTextLength = 104;
inline constexpr std::size_t kFieldWidth = 8;
inline constexpr double kNoValue = -999.0;
inline constexpr std::string_view kNoValueDisplay = "---  --";

// True when the text contains any of the four field markers.
bool hasFieldMarker(std::string_view text);

// -999 for a field with a marker, otherwise the text read like C strtod (no number reads 0).
// A reading that is not a finite number ("nan", "inf", "1e999") is no number either: 0. The
// table, the graph, the CSV and the export all take their numbers from here, so they agree.
double fieldValue(std::string_view text);

// A field that is a plain decimal ("  -12.50 ": blanks, sign, at most 15 digits with an
// optional point, then nothing that could continue a number): its value is exactly
// mantissa / 10^fractionDigits, negated when negative.
struct PlainDecimal {
    bool negative = false;
    unsigned long long mantissa = 0;
    int fractionDigits = 0;
};
bool parsePlainDecimal(std::string_view text, PlainDecimal& decimal);

// The value of a plain decimal, rounded as strtod rounds it.
double plainDecimalValue(const PlainDecimal& decimal);

// "---  --" for a field with a marker, otherwise the text itself.
std::string_view displayField(std::string_view text);

// Field k (0-based) of a data text cut at 8-character steps: shorter or empty when the text
// ends early.
std::string_view dataTextField(std::string_view dataText, std::size_t field);
// Field k (0 to 12) of a record row's data text: as dataTextField(), but the last one runs to
// the end of the text.
std::string_view recordDataField(std::string_view dataText, int field);
