#include "files/DataText.h"

#include <cstdint>

#include "app/CText.h"

namespace {

constexpr std::string_view kMarkers[] = {"_err", "_ofl", "_und", "---- --"};

// Exact powers of ten: every one up to 1e22 is representable in a double.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Plain decimals ("  -12.50 ") with at most 15 digits convert exactly: the digits form an
// integer below 2^53 and dividing by an exact power of ten rounds correctly, which is what
// strtod does too. Anything else (exponents, hex, inf, nan, long numbers) is left to strtod.
bool fastDecimal(std::string_view text, double& value)
{
    std::size_t i = 0;
    while (i < text.size() && ctext::isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits)
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits, ++fractionDigits)
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    if (digits == 0 || digits > 15)
        return false;
    if (i < text.size()) {
        char next = text[i];
        if (next == 'e' || next == 'E' || next == 'x' || next == 'X')
            return false;
    }
    double magnitude = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    value = negative ? -magnitude : magnitude;
    return true;
}

} // namespace

bool hasFieldMarker(std::string_view text)
{
    for (std::string_view marker : kMarkers)
        if (text.find(marker) != std::string_view::npos)
            return true;
    return false;
}

double fieldValue(std::string_view text)
{
    if (hasFieldMarker(text))
        return kNoValue;
    double value = 0;
    if (fastDecimal(text, value))
        return value;
    return ctext::toDouble(text);
}

std::string_view displayField(std::string_view text)
{
    return hasFieldMarker(text) ? kNoValueDisplay : text;
}

std::string_view dataTextField(std::string_view dataText, std::size_t field)
{
    std::size_t begin = field * kFieldWidth;
    if (begin >= dataText.size())
        return {};
    return dataText.substr(begin, kFieldWidth);
}
