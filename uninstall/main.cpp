// BrevantUninstall: removes the installation listed in the current folder.
#include <QApplication>

#include "controls/QtMessageBox.h"
#include "setup/SetupPaths.h"
#include "uninstall/RemovalPause.h"
#include "uninstall/UninstallDlg.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("BrevantUninstall");
    CQtMessageBox messages("BrevantUninstall");

    CUninstallEnvironment environment;
    environment.messages = &messages;
    environment.shellFolders = shellFolders(processEnvironment());
    environment.pause = pauseRemoval;
    CUninstallDlg dialog(std::move(environment));
    messages.setParent(&dialog);
    dialog.exec();
    return 0;
}
