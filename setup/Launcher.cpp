#include "setup/Launcher.h"

#include "setup/SetupFiles.h"
#include "setup/SetupPaths.h"

namespace {

// Escapes for a value of type string: backslash and the control characters.
std::string escapeValue(const std::string& text)
{
    std::string result;
    for (char c : text) {
        switch (c) {
        case '\\':
            result += "\\\\";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        default:
            result += c;
        }
    }
    if (!result.empty() && result.front() == ' ')
        result.replace(0, 1, "\\s");
    return result;
}

// One argument of the Exec key: always quoted, with the four characters that stay special
// inside quotes escaped, and '%' doubled so that it is not read as a field code.
std::string quoteExecArgument(const std::string& argument)
{
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

std::string desktopEntryText(const std::string& installFolder, const std::string& program)
{
    std::string text = "[Desktop Entry]\n"
                       "Type=Application\n"
                       "Version=1.0\n"
                       "Name=Skyvane8u\n"
                       "Comment=Monitoring software for the VA7310 sonic anemometer\n";
    text += "Exec=" + escapeValue(quoteExecArgument(joinPath(installFolder, program))) + "\n";
    text += "Path=" + escapeValue(installFolder) + "\n";
    text += "Icon=" + escapeValue(joinPath(installFolder, "plant.bmp")) + "\n";
    text += "Terminal=false\n"
            "Categories=Science;DataVisualization;\n";
    return text;
}

int createLauncher(const std::string& path, const std::string& installFolder,
                   const std::string& program)
{
    return writeReplacing(path, desktopEntryText(installFolder, program), 0755);
}
