#include "app/StartArguments.h"

#include "app/frame/FileOpen.h"

const char* const kStartUsage =
    "Usage: Skyvane8u [FILE.ivt|FILE.lvt]\n"
    "Monitors a VA7310 sonic anemometer on a serial port: finds it, shows every sample\n"
    "and records it to dump.ivt; opens record (.ivt) and log (.lvt) files in viewers.\n"
    "\n"
    "  FILE.ivt|FILE.lvt   open this record or log file in its viewer at start; the\n"
    "                      extension is taken in lower case only, as File > Open does\n"
    "  --help              show this help\n"
    "Qt's own options (-platform, -style, ...) are taken as well.\n"
    "\n"
    "Skyvane8u.ini, Connection.ini, port.ini and the recording file dump.ivt are in the\n"
    "working folder. A copy that cannot write its own folder, or one installed with its\n"
    "shared files in ../share/ventora (the package's /usr/bin/Skyvane8u), keeps them in\n"
    "$XDG_DATA_HOME/ventora (~/.local/share/ventora) instead, copying a settings file\n"
    "that is missing there from the shared folder (/usr/share/ventora) at start.\n"
    "COMn is the device in the environment variable VENTORA_COMn, else the path of a\n"
    "line COMn=path in port.ini, else /dev/ttyS<n-1>.\n";

CStartArguments parseStartArguments(const std::vector<std::string>& args)
{
    // --help wins wherever it stands among the options, so that it is seen before Qt, whose
    // options this function does not know, takes out its own.
    for (std::size_t i = 1; i < args.size() && args[i] != "--"; ++i) {
        if (args[i] == "--help" || args[i] == "-h")
            return {CStartArguments::Action::Help, {}, {}};
    }
    CStartArguments result;
    bool options = true;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            return {CStartArguments::Action::Bad, {}, "unknown option " + arg};
        } else if (!result.file.empty()) {
            return {CStartArguments::Action::Bad, {}, "one file at a time"};
        } else if (viewerForPath(arg) == ViewerKind::None) {
            return {
                CStartArguments::Action::Bad, {}, arg + ": not a record (.ivt) or log (.lvt) file"};
        } else {
            result.file = arg;
        }
    }
    return result;
}
