#include "app/SettingsFiles.h"

#include <string_view>
#include <unistd.h>

#include "core/CText.h"
#include "core/LineReader.h"

namespace {

std::string_view afterFirstEquals(std::string_view line)
{
    std::size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
}

constexpr std::size_t kPackagePieceLength = 127;
constexpr std::size_t kConnectionPieceLength = 79;

void readPackageLines(CLineReader& reader, PackageSettings& settings)
{
    std::string_view line;
    while (reader.next(line)) {
        // A line without "=" has no value to take; it is ignored.
        if (line.find("HANDBOOK") != std::string_view::npos && line.find('=') != line.npos)
            settings.handbook = std::string(ctext::trimBoth(afterFirstEquals(line)));
        if (line.find("SERVER_PORT=") != std::string_view::npos)
            settings.serverPort = ctext::toInt(ctext::trimBoth(afterFirstEquals(line)));
    }
}

void readConnectionLines(CLineReader& reader, CConnConfig& config)
{
    struct Key {
        std::string_view text;
        int* field;
    };
    const Key keys[] = {
        {"CONN_MODE=", &config.connMode},
        {"COM_PORT=", &config.comPort},
        {"COM_BAUDRATE=", &config.comBaudrate},
        {"SERVER_MODE=", &config.serverMode},
        {"IP_ADDRESS=", nullptr},
        {"IP_PORT=", &config.ipPort},
        {"MODEM_PORT=", &config.modemPort},
        {"MODEM_BAUDRATE=", &config.modemBaudrate},
    };
    std::string_view line;
    while (reader.next(line)) {
        for (const Key& key : keys) {
            if (line.find(key.text) == std::string_view::npos)
                continue;
            // The value is taken from the fixed column after the key's length.
            std::string_view value = ctext::trimBoth(line.substr(key.text.size()));
            if (key.field)
                *key.field = ctext::toInt(value);
            else
                config.ipAddress = std::string(value);
        }
    }
}

} // namespace

std::string currentAppDirectory()
{
    std::string directory(4096, '\0');
    if (!::getcwd(directory.data(), directory.size()))
        return "./";
    directory.resize(directory.find('\0'));
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory;
}

void loadPackageSettings(const std::string& appDirectory, PackageSettings& settings,
                         IMessageBox& messages)
{
    settings.handbook.clear();
    CLineReader reader(kPackagePieceLength);
    if (!reader.open(appDirectory + kPackageSettingsFile)) {
        messages.tell("Unable to open file Skyvane8u.ini", MessageIcon::None);
        return;
    }
    readPackageLines(reader, settings);
}

void readPackageSettings(std::string_view bytes, PackageSettings& settings)
{
    settings.handbook.clear();
    CLineReader reader(kPackagePieceLength);
    reader.openText(bytes);
    readPackageLines(reader, settings);
}

void loadConnectionSettings(const std::string& appDirectory, CConnConfig& config,
                            IMessageBox& messages)
{
    CLineReader reader(kConnectionPieceLength);
    if (!reader.open(appDirectory + kConnectionSettingsFile)) {
        messages.tell("WARNING: Unable to open file Connection.ini", MessageIcon::Information);
        return;
    }
    readConnectionLines(reader, config);
}

void readConnectionSettings(std::string_view bytes, CConnConfig& config)
{
    CLineReader reader(kConnectionPieceLength);
    reader.openText(bytes);
    readConnectionLines(reader, config);
}
