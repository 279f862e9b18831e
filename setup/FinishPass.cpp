#include "setup/FinishPass.h"

#include <filesystem>

#include "core/CText.h"
#include "core/LineReader.h"
#include "setup/Launcher.h"
#include "setup/SetupFiles.h"
#include "setup/SetupPaths.h"
#include "setup/UninstallList.h"

namespace {

void addDesktopLauncher(const CFinishRequest& request, const std::string& listPath)
{
    std::string launcher = joinPath(request.desktopFolder, kLauncherName);
    // A list that cannot be opened only loses its line; the launcher is still created.
    CUninstallList list;
    if (list.open(listPath, CUninstallList::Mode::Append) == 0)
        list.addLine(launcher);
    list.close();
    std::error_code ignored;
    std::filesystem::create_directories(request.desktopFolder, ignored);
    createLauncher(launcher, request.installFolder, request.programName);
}

} // namespace

int finishSetup(const CFinishRequest& request)
{
    std::string listPath = joinPath(request.installFolder, kDesktopListName);
    if (request.desktopLauncher)
        addDesktopLauncher(request, listPath);

    CLineReader reader(kFinishLineLength);
    if (!reader.open(listPath))
        return 0;
    // Only what the setup installed: the installation folder and the desktop launcher.
    CConfinedFolder scope(request.installFolder);
    scope.allowFile(joinPath(request.desktopFolder, kLauncherName));
    int count = 0;
    std::string_view piece;
    while (reader.next(piece)) {
        std::string path(ctext::trimRight(piece));
        if (!path.empty() && setNormalAttributes(scope, path) == 0)
            ++count;
    }
    return count;
}
