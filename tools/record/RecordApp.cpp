#include "tools/record/RecordApp.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "files/RecordingWriter.h"
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
    : QObject(parent), options_(options),
      logOut_(std::make_unique<COutputQueue>(STDERR_FILENO, kLogCapacity)),
      recordPort_(port_, *this, deviceOf(options)),
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
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kFlushMs);
    if (echo_)
        echo_->flush(deadline);
    logOut_->flush(deadline);
}

void CRecordApp::report(const std::string& text)
{
    logOut_->push(text + "\n");
}

void CRecordApp::log(std::string_view text) const
{
    std::string line = logLine(clock_, text);
    // A line that does not fit is left out whole; the next one that fits says how many were.
    if (logDropped_ != 0) {
        line.insert(0, logLine(clock_, std::to_string(logDropped_) +
                                           " log lines were dropped: standard error was not "
                                           "being read"));
    }
    if (logOut_->push(line))
        logDropped_ = 0;
    else
        ++logDropped_;
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
        report("ventora-record: cannot write " + files_.currentPath() + ": " +
               recordingErrorText(error));
        return 1;
    }
    if (int error = signals_.start([this](int signal) { onSignal(signal); }); error != 0) {
        report(std::string("ventora-record: cannot watch the stop signals: ") +
               std::strerror(error));
        return 1;
    }
    log("recording to " + files_.currentPath() + (options_.truncate ? " (emptied)" : ""));
    if (publisher_ && publisher_->start() != 0)
        return 1;
    recorder_.start();
    return 0;
}

void CRecordApp::onSignal(int signal)
{
    // Signals still queued when the recorder has stopped are ignored.
    if (recorder_.phase() == CRecorder::Phase::Stopped)
        return;
    if (signal == SIGHUP) {
        const int error = files_.reopen();
        log("SIGHUP: " + files_.currentPath() +
            (error == 0 ? " opened again" : " cannot be opened: " + recordingErrorText(error)));
        return;
    }
    log(signal == SIGINT ? "SIGINT: stopping" : "SIGTERM: stopping");
    recorder_.stop();
    if (publisher_)
        publisher_->stop();
    QCoreApplication::exit(0); // the log and the echo are flushed on the way out
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

void CRecordApp::postWatchdogStop(unsigned generation)
{
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (recordPort_.acceptWatchdogStop(generation))
                recorder_.onDialogueLineComplete();
        },
        Qt::QueuedConnection);
}
