#include "serial/ComName.h"

#include <cctype>
#include <cstdlib>
#include <string_view>

#include "core/CText.h"
#include "core/LineReader.h"

namespace {

std::string upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// Lines longer than this (no device path is) are ignored whole.
constexpr std::size_t kIniLineLength = 8191;

// The path given for key ("COM2") in the ini file read by reader, or nothing. Lines starting
// with '#' or ';' are comments; blanks around key and path are ignored.
std::optional<std::string> iniPath(CLineReader& reader, const std::string& key)
{
    std::string_view line;
    bool continuation = false; // the piece goes on a line that was too long
    while (reader.next(line)) {
        const bool whole = !line.empty() && line.back() == '\n';
        const bool skip = continuation || (!whole && line.size() >= kIniLineLength);
        continuation = !whole && line.size() >= kIniLineLength;
        if (skip)
            continue;
        const std::string_view text = ctext::trimBoth(line);
        if (text.empty() || text.front() == '#' || text.front() == ';')
            continue;
        const auto equals = text.find('=');
        if (equals == std::string_view::npos)
            continue;
        if (upper(ctext::trimBoth(text.substr(0, equals))) != key)
            continue;
        const std::string_view value = ctext::trimBoth(text.substr(equals + 1));
        if (!value.empty())
            return std::string(value);
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> comPathInIni(std::string_view iniText, int number)
{
    CLineReader reader(kIniLineLength);
    reader.openText(iniText);
    return iniPath(reader, "COM" + std::to_string(number));
}

std::optional<int> comNumber(const std::string& name)
{
    if (name.size() < 4 || name.size() > 7 || upper(name.substr(0, 3)) != "COM")
        return std::nullopt;
    int number = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i])))
            return std::nullopt;
        number = number * 10 + (name[i] - '0');
    }
    if (number < 1)
        return std::nullopt;
    return number;
}

std::string resolveComName(const std::string& name, const EnvLookup& env,
                           const std::string& iniFile)
{
    const auto number = comNumber(name);
    if (!number)
        return name;
    const std::string key = "COM" + std::to_string(*number);
    if (const auto value = env("VENTORA_" + key); value && !value->empty())
        return *value;
    CLineReader reader(kIniLineLength);
    if (reader.open(iniFile))
        if (auto path = iniPath(reader, key))
            return *path;
    return "/dev/ttyS" + std::to_string(*number - 1);
}

std::string resolveComName(const std::string& name)
{
    const EnvLookup processEnv = [](const std::string& variable) -> std::optional<std::string> {
        if (const char* value = std::getenv(variable.c_str()))
            return std::string(value);
        return std::nullopt;
    };
    return resolveComName(name, processEnv, "port.ini");
}
