#pragma once
// Text helpers with the C library's semantics that the file formats rely on: white space is
// what isspace() accepts in the "C" locale, numbers convert like atoi/strtod (leading blanks
// skipped, conversion stops at the first character that cannot continue the number, no number
// reads as 0). Conversions always use the "C" locale, whatever locale the GUI has set.

#include <string>
#include <string_view>

namespace ctext {

constexpr bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view trimRight(std::string_view text);
std::string_view trimLeft(std::string_view text);
std::string_view trimBoth(std::string_view text);

// atoi: leading decimal digits after optional blanks and sign; values beyond the 32-bit range
// are clamped instead of overflowing.
int toInt(std::string_view text);

// strtod in the "C" locale.
double toDouble(std::string_view text);

// Appends Windows-1252 text as UTF-8.
void appendUtf8(std::string& out, std::string_view text);

} // namespace ctext
