#include "controls/AnsiText.h"

#include "core/CText.h"

QString fromAnsi(std::string_view text)
{
    QString result(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    QChar* out = result.data();
    for (std::size_t i = 0; i < text.size(); ++i)
        out[i] = QChar(ctext::ansiToUnicode(static_cast<unsigned char>(text[i])));
    return result;
}

std::string toAnsi(const QString& text)
{
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        char16_t code = ch.unicode();
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            result.push_back(static_cast<char>(code));
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i) {
            if (ctext::kAnsiHighCodes[i] == code) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        result.push_back(mapped);
    }
    return result;
}
