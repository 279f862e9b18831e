#include "core/CText.h"

#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

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
        unsigned code = ansiToUnicode(static_cast<unsigned char>(c));
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
