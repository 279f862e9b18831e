#include <QApplication>

#include "app/frame/MainFrame.h"
#include "app/VentoraApp.h"
#include "controls/QtMessageBox.h"
#include "core/FileSizeSignal.h"

int main(int argc, char* argv[])
{
    ignoreFileSizeSignal();
    QApplication application(argc, argv);
    QApplication::setApplicationName("Skyvane8u");
    CQtMessageBox messages("Skyvane8u");
    CVentoraApp app(messages);
    if (!app.initInstance())
        return 1;
    messages.setParent(app.mainFrame); // boxes centre on the main window
    return QApplication::exec();
}
