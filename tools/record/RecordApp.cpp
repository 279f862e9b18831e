#include "tools/record/RecordApp.h"

#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/signalfd.h>
#include <unistd.h>

#include "serial/ComName.h"
#include "tools/record/LogLine.h"

namespace {

CAutodetect::Scope searchScope(const RecordOptions& options)
{
    CAutodetect::Scope scope;
    scope.baudRate = options.baud;
    if (!options.port.empty()) {
        // A device path stands in for COM1, the one port searched.
        const int port = comNumber(options.port).value_or(1);
        scope.firstPort = port;
        scope.lastPort = port;
    }
    return scope;
}

std::string deviceOf(const RecordOptions& options)
{
    return comNumber(options.port) ? std::string() : options.port;
}

} // namespace

CRecordApp::CRecordApp(const RecordOptions& options, QObject* parent)
    : QObject(parent), options_(options), recordPort_(port_, *this, deviceOf(options)),
      timers_([this](int id) { recorder_.onTimer(id); }),
      files_(options.out, options.rotateDaily, clock_,
             [this](std::string_view text) { log(text); }),
      sink_(files_,
            [this] {
                if (publisher_)
                    publisher_->lineRecorded();
            }),
      recorder_({timers_, recordPort_, sink_, clock_, [this](std::string_view text) { log(text); },
                 [this] { return recordPort_.openProblem(); },
                 [this](bool up) { instrumentChanged(up); }},
                {searchScope(options), deviceOf(options), options.truncate})
{
    if (options_.mqtt.publishing())
        publisher_ = std::make_unique<CSamplePublisher>(
            options_.mqtt, CStoreForward::Files{options.out, options.rotateDaily, files_.currentPath()},
            recorder_.unit(), [this](std::string_view text) { log(text); }, this);
    if (options_.echo) {
        echo_ = std::make_unique<CEchoOutput>(STDOUT_FILENO,
                                              [this](std::string_view text) { log(text); });
        files_.setEcho([this](std::string_view line) { echo_->write(line); });
    }
}

CRecordApp::~CRecordApp()
{
    // The reader thread posts to this object: it ends before anything it reaches goes away.
    port_.close();
    signals_.reset(); // no longer watched before its descriptor closes
    if (signalFd_ >= 0)
        ::close(signalFd_);
}

void CRecordApp::log(std::string_view text) const
{
    writeLogLine(clock_, text);
}

void CRecordApp::instrumentChanged(bool up)
{
    if (!publisher_)
        return;
    const InstrumentLink link{recorder_.engine().lineType(), recorder_.portName(),
                              recorder_.linkBaudrate()};
    publisher_->instrumentChanged(up ? &link : nullptr);
}

int CRecordApp::start()
{
    if (int error = files_.reopen(); error != 0) {
        std::fprintf(stderr, "ventora-record: cannot write %s: %s\n", files_.currentPath().c_str(),
                     std::strerror(error));
        return 1;
    }
    sigset_t watched;
    ::sigemptyset(&watched);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaddset(&watched, signal);
    signalFd_ = ::signalfd(-1, &watched, SFD_NONBLOCK | SFD_CLOEXEC);
    if (signalFd_ < 0) {
        std::fprintf(stderr, "ventora-record: cannot watch the stop signals: %s\n",
                     std::strerror(errno));
        return 1;
    }
    signals_ = std::make_unique<QSocketNotifier>(signalFd_, QSocketNotifier::Read);
    connect(signals_.get(), &QSocketNotifier::activated, this, &CRecordApp::onSignal);
    log("recording to " + files_.currentPath() + (options_.truncate ? " (emptied)" : ""));
    if (publisher_ && publisher_->start() != 0)
        return 1;
    recorder_.start();
    return 0;
}

void CRecordApp::onSignal()
{
    signalfd_siginfo info{};
    while (::read(signalFd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        if (recorder_.phase() == CRecorder::Phase::Stopped)
            return;
        if (info.ssi_signo == SIGHUP) {
            const int error = files_.reopen();
            log("SIGHUP: " + files_.currentPath() +
                (error == 0 ? " opened again"
                            : std::string(" cannot be opened: ") + std::strerror(error)));
            continue;
        }
        log(info.ssi_signo == SIGINT ? "SIGINT: stopping" : "SIGTERM: stopping");
        recorder_.stop();
        if (publisher_)
            publisher_->stop();
        if (echo_)
            echo_->flush(1000);
        QCoreApplication::exit(0);
        return;
    }
}

void CRecordApp::postLine(std::string line, unsigned generation)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation, line = std::move(line)]() mutable {
            if (recordPort_.acceptLine(generation, recorder_.engine().portOpen()))
                recorder_.onSerialReply(std::move(line));
        },
        Qt::QueuedConnection);
}

void CRecordApp::postDisconnectRequest(unsigned session)
{
    QMetaObject::invokeMethod(
        this,
        [this, session] {
            if (recordPort_.acceptDisconnect(session))
                recorder_.onLineFailure();
        },
        Qt::QueuedConnection);
}

void CRecordApp::postWatchdogStop()
{
    QMetaObject::invokeMethod(
        this, [this] { recorder_.onDialogueLineComplete(); }, Qt::QueuedConnection);
}
