#pragma once
// The ventora-record program on Qt Core's event loop: the serial port with its reader thread,
// the engine's timers, the recording files, the CSV echo, and the stop and reopen signals
// (CSignalWatch). It only wires them to CRecorder and writes the log; it sleeps while nothing
// happens. SIGINT, SIGTERM and SIGHUP must be blocked in every thread before it is made (main()
// does so before any thread starts), so that they arrive only through the watch. The log and
// the echo go through queues written by threads of their own, so that a reader that stops
// reading never holds up the recording; on exit they get at most kFlushMs to be written.

#include <QObject>
#include <memory>
#include <string>
#include <string_view>

#include "core/Clock.h"
#include "protocol/QtTimerTable.h"
#include "serial/ComPortObj.h"
#include "tools/record/EchoOutput.h"
#include "tools/record/OutputQueue.h"
#include "tools/record/RecordOptions.h"
#include "tools/record/RecordPort.h"
#include "tools/record/Recorder.h"
#include "tools/record/RecordingFiles.h"
#include "tools/record/SamplePublisher.h"
#include "tools/record/SignalWatch.h"

class CRecordApp final : public QObject, private ILineTarget {
public:
    static constexpr int kFlushMs = 800;
    static constexpr std::size_t kLogCapacity = 64 * 1024;

    explicit CRecordApp(const RecordOptions& options, QObject* parent = nullptr);
    ~CRecordApp() override;

    // Checks that the recording file can be written, starts watching the signals and starts the
    // first search. 0, or the exit code after a one-line message.
    int start();

    // One line on standard error: the local time and the text.
    void log(std::string_view text) const;

private:
    void postLine(std::string line, unsigned generation) override;
    void postDisconnectRequest(unsigned session) override;
    void postWatchdogStop(unsigned generation) override;
    void onSignal(int signal);
    // Tells the publisher of the instrument link.
    void instrumentChanged(bool up);
    // A message without the time (start-up failures), through the log's queue.
    void report(const std::string& text);

    RecordOptions options_;
    CSystemClock clock_;
    std::unique_ptr<COutputQueue> logOut_;
    mutable unsigned long long logDropped_ = 0;
    CComPortObj port_;
    CRecordPort recordPort_;
    CQtTimerTable timers_;
    CRecordingFiles files_;
    std::unique_ptr<CEchoOutput> echo_;
    CPublishingSink sink_; // the files, then the publisher
    CRecorder recorder_;
    std::unique_ptr<CSamplePublisher> publisher_; // with --mqtt
    CSignalWatch signals_;
};
