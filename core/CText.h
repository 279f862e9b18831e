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

// Unicode code points of the Windows-1252 bytes 0x80..0x9F, where the code page differs from
// Latin-1; the five unassigned ones map to the C1 controls of the same value, as Windows does.
inline constexpr char16_t kAnsiHighCodes[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Unicode code point of a Windows-1252 byte.
constexpr char16_t ansiToUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kAnsiHighCodes[byte - 0x80] : char16_t{byte};
}

// Appends Windows-1252 text as UTF-8.
void appendUtf8(std::string& out, std::string_view text);

} // namespace ctext
