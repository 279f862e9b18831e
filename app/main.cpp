#include <QApplication>
#include <QFile>
#include <QIcon>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/frame/MainFrame.h"
#include "app/StartArguments.h"
#include "app/UserDataFolder.h"
#include "app/VentoraApp.h"
#include "controls/QtMessageBox.h"
#include "core/FileSizeSignal.h"

namespace {

// Tells the user when the per-user folder of an installed copy could not be used as it should.
void reportWorkingFolder(const CWorkingFolder& folder, IMessageBox& messages)
{
    if (folder.error == 0)
        return;
    const std::string reason = std::strerror(folder.error);
    if (folder.entered)
        messages.tell("WARNING: Unable to copy the shipped settings files into " + folder.folder +
                          " (" + reason + ").",
                      MessageIcon::Exclamation);
    else
        messages.tell("WARNING: Unable to use the folder " + folder.folder + " (" + reason +
                          "); the working folder is used instead.",
                      MessageIcon::Exclamation);
}

} // namespace

int main(int argc, char* argv[])
{
    ignoreFileSizeSignal();
    // --help needs no display, so it is answered before Qt starts (help2man reads it at build
    // time on machines without one).
    if (parseStartArguments({argv, argv + argc}).action == CStartArguments::Action::Help) {
        std::fputs(kStartUsage, stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Skyvane8u");
    QGuiApplication::setDesktopFileName("ventora");
    QApplication::setWindowIcon(QIcon::fromTheme("ventora"));
    std::vector<std::string> args;
    for (const QString& arg : QApplication::arguments())
        args.push_back(QFile::encodeName(arg).toStdString());
    CStartArguments start = parseStartArguments(args);
    if (start.action == CStartArguments::Action::Bad) {
        std::fprintf(stderr, "Skyvane8u: %s\nTry 'Skyvane8u --help'.\n", start.error.c_str());
        return 2;
    }
    // Named relative to where the user started the program, which may not stay the working
    // directory.
    if (!start.file.empty())
        start.file = std::filesystem::absolute(start.file).lexically_normal().string();

    CQtMessageBox messages("Skyvane8u");
    reportWorkingFolder(enterWorkingFolder(), messages);
    CVentoraApp app(messages);
    app.startFile = start.file;
    if (!app.initInstance())
        return 1;
    messages.setParent(app.mainFrame); // boxes centre on the main window
    return QApplication::exec();
}
