// ventora-record: records a VA7310 anemometer without a window (see --help).

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "core/FileSizeSignal.h"
#include "tools/record/ArchiveApp.h"
#include "tools/record/RecordApp.h"

int main(int argc, char** argv)
{
    ignoreFileSizeSignal();
    RecordOptions options;
    std::string message;
    switch (
        parseRecordOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &message)) {
    case RecordParse::Help:
        std::fputs(recordUsage().c_str(), stdout);
        return 0;
    case RecordParse::Error:
        std::fprintf(stderr, "ventora-record: %s (see ventora-record --help)\n", message.c_str());
        return 2;
    case RecordParse::Run:
        break;
    }
    // Blocked before any thread starts, so that every thread inherits the mask and the signals
    // reach the program only through its signalfd.
    sigset_t watched;
    ::sigemptyset(&watched);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaddset(&watched, signal);
    ::sigprocmask(SIG_BLOCK, &watched, nullptr);
    ::signal(SIGPIPE, SIG_IGN); // a closed echo reader shows as EPIPE instead

    QCoreApplication application(argc, argv);
    if (options.mqtt.archiving()) {
        CArchiveApp archiver(options.mqtt);
        if (int code = archiver.start(); code != 0)
            return code;
        return QCoreApplication::exec();
    }
    CRecordApp recorder(options);
    if (int code = recorder.start(); code != 0)
        return code;
    return QCoreApplication::exec();
}
