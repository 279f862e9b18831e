#include "core/CText.h"

#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace {

// Unicode code points of the Windows-1252 bytes 0x80..0x9F; the five unassigned ones map to
// the C1 controls of the same value, as Windows does.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

namespace ctext {

std::string_view trimRight(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && isSpace(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::string_view trimLeft(std::string_view text)
{
    std::size_t begin = 0;
    while (begin < text.size() && isSpace(text[begin]))
        ++begin;
    return text.substr(begin);
}

std::string_view trimBoth(std::string_view text) { return trimLeft(trimRight(text)); }

int toInt(std::string_view text)
{
    text = trimLeft(text);
    bool negative = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

double toDouble(std::string_view text)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    char buffer[512];
    std::size_t length = text.size() < sizeof buffer - 1 ? text.size() : sizeof buffer - 1;
    if (length > 0)
        std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return strtod_l(buffer, nullptr, cLocale);
}

void appendUtf8(std::string& out, std::string_view text)
{
    for (char c : text) {
        unsigned byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
            continue;
        }
        unsigned code = byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
        if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace ctext
