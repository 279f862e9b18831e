#pragma once
// Maps the program's COM names to device paths. "COMn" (n >= 1, any letter case) becomes the
// value of the environment variable VENTORA_COMn when set and not empty, else the path of a line
// "COMn=path" in port.ini of the working folder, else /dev/ttyS<n-1>. Any other name is already
// a device path and is returned unchanged.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Looks up an environment variable; nothing when it is unset.
using EnvLookup = std::function<std::optional<std::string>(const std::string& name)>;

// The port number of a COM name ("COM3" gives 3), or nothing when the name is not one.
std::optional<int> comNumber(const std::string& name);

std::string resolveComName(const std::string& name, const EnvLookup& env,
                           const std::string& iniPath);

// The path that the text of a port.ini gives for COM<number>, or nothing. Lines of more than
// 8190 characters are ignored.
std::optional<std::string> comPathInIni(std::string_view iniText, int number);

// The process's environment and ./port.ini.
std::string resolveComName(const std::string& name);
