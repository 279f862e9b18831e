#include <QApplication>
#include <csignal>

#include "app/frame/MainFrame.h"
#include "app/VentoraApp.h"
#include "controls/QtMessageBox.h"

int main(int argc, char* argv[])
{
    // A write beyond a file-size limit must fail with an error the recording writer reports,
    // not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    QApplication::setApplicationName("Skyvane8u");
    CQtMessageBox messages("Skyvane8u");
    CVentoraApp app(messages);
    if (!app.initInstance())
        return 1;
    messages.setParent(app.mainFrame); // boxes centre on the main window
    return QApplication::exec();
}
