#include <QApplication>

#include "app/VentoraApp.h"
#include "controls/QtMessageBox.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("Skyvane8u");
    CQtMessageBox messages("Skyvane8u");
    CVentoraApp app(messages);
    if (!app.initInstance())
        return 1;
    return QApplication::exec();
}
