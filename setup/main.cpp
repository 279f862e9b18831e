// SkyvaneSetup: installs Skyvane8u from the folder it is started in.
#include <QApplication>
#include <filesystem>

#include "controls/QtMessageBox.h"
#include "core/FileSizeSignal.h"
#include "setup/EventLoopPause.h"
#include "setup/QtFolderDialog.h"
#include "setup/SetupWizard.h"

int main(int argc, char* argv[])
{
    ignoreFileSizeSignal();
    QApplication application(argc, argv);
    QApplication::setApplicationName("SkyvaneSetup");

    std::error_code error;
    std::string workingFolder = std::filesystem::current_path(error).string();
    EnvironmentLookup environment = processEnvironment();
    CQtMessageBox messages("SkyvaneSetup");
    CQtFolderDialog folderDialog;

    CSetupEnvironment setup;
    setup.sourceFolder = sourceFolderFrom(workingFolder);
    setup.defaultInstallFolder = defaultInstallFolder(environment);
    setup.shellFolders = shellFolders(environment);
    setup.plan = linuxCopyPlan();
    setup.messages = &messages;
    setup.folderDialog = &folderDialog;
    setup.pause = pauseWithEvents;

    CSetupWizard wizard(std::move(setup));
    messages.setParent(&wizard);
    wizard.exec();
    return 0;
}
