#include "files/DataText.h"

#include <cmath>

#include "core/CText.h"
#include "core/Channels.h"

namespace {

// Exact powers of ten: every one up to 1e22 is representable in a double.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

bool parsePlainDecimal(std::string_view text, PlainDecimal& decimal)
{
    std::size_t i = 0;
    while (i < text.size() && ctext::isSpace(text[i]))
        ++i;
    decimal = PlainDecimal();
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        decimal.negative = text[i++] == '-';
    int digits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits)
        decimal.mantissa = decimal.mantissa * 10 + static_cast<unsigned>(text[i] - '0');
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits, ++decimal.fractionDigits)
            decimal.mantissa = decimal.mantissa * 10 + static_cast<unsigned>(text[i] - '0');
    }
    if (digits == 0 || digits > 15)
        return false;
    // An exponent or a hexadecimal number: strtod reads on.
    return i == text.size() || (text[i] != 'e' && text[i] != 'E' && text[i] != 'x' &&
                                text[i] != 'X');
}

bool hasFieldMarker(std::string_view text)
{
    // One pass: the markers start with '_' or '-', which plain numbers seldom hold.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_') {
            std::string_view rest = text.substr(i);
            if (rest.starts_with("_err") || rest.starts_with("_ofl") || rest.starts_with("_und"))
                return true;
        } else if (text[i] == '-' && text.substr(i).starts_with("---- --")) {
            return true;
        }
    }
    return false;
}

double fieldValue(std::string_view text)
{
    if (hasFieldMarker(text))
        return kNoValue;
    // Plain decimals of at most 15 digits convert exactly without strtod: the digits form an
    // integer below 2^53 and dividing by an exact power of ten rounds correctly, as strtod does.
    PlainDecimal decimal;
    if (!parsePlainDecimal(text, decimal)) {
        const double value = text.empty() ? 0.0 : ctext::toDouble(text);
        return std::isfinite(value) ? value : 0.0;
    }
    return plainDecimalValue(decimal);
}

double plainDecimalValue(const PlainDecimal& decimal)
{
    double magnitude =
        static_cast<double>(decimal.mantissa) / kPowersOfTen[decimal.fractionDigits];
    return decimal.negative ? -magnitude : magnitude;
}

std::string_view displayField(std::string_view text)
{
    return hasFieldMarker(text) ? kNoValueDisplay : text;
}

std::string_view recordDataField(std::string_view dataText, int field)
{
    const std::size_t begin = static_cast<std::size_t>(field) * kFieldWidth;
    if (begin >= dataText.size())
        return {};
    return dataText.substr(begin, field == kChannelCount - 1 ? std::string_view::npos : kFieldWidth);
}

std::string_view dataTextField(std::string_view dataText, std::size_t field)
{
    std::size_t begin = field * kFieldWidth;
    if (begin >= dataText.size())
        return {};
    return dataText.substr(begin, kFieldWidth);
}
