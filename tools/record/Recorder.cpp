#include "tools/record/Recorder.h"

#include "files/RecordingWriter.h"

CRecorder::CRecorder(const Services& services, const Setup& setup)
    : s_(services), setup_(setup),
      engine_({s_.timers, s_.port, view_, *this, *this, s_.clock, *this, config_, unit_})
{
    config_.connMode = 0; // a local serial link: closing it closes the port
    engine_.setSearchScope(setup_.scope);
    truncateNext_ = setup_.truncate;
}

void CRecorder::start()
{
    if (phase_ != Phase::Idle)
        return;
    s_.log("searching " + scopeText());
    search();
}

void CRecorder::stop()
{
    if (phase_ == Phase::Stopped)
        return;
    s_.timers.killTimer(kRetryTimer);
    s_.timers.killTimer(kSampleWatchTimer);
    engine_.OnExit(); // confirmed: closes the port
    phase_ = Phase::Stopped;
    s_.log("stopped after " + std::to_string(samples_) + " samples");
}

void CRecorder::onTimer(int id)
{
    if (id == kRetryTimer) {
        s_.timers.killTimer(kRetryTimer);
        if (phase_ == Phase::Waiting)
            search();
        return;
    }
    if (id == kSampleWatchTimer) {
        watchSamples();
        return;
    }
    engine_.OnTimer(id);
    afterEvent();
}

void CRecorder::onSerialReply(std::string line)
{
    engine_.OnSerialReply(std::move(line));
    afterEvent();
}

void CRecorder::onLineFailure()
{
    engine_.OnLineFailure();
    afterEvent();
}

void CRecorder::search()
{
    phase_ = Phase::Searching;
    engine_.OnAutodetect();
    afterEvent();
}

void CRecorder::afterEvent()
{
    if (phase_ == Phase::Searching && !engine_.searching()) {
        if (engine_.portOpen()) {
            phase_ = Phase::Connected;
            samplesOnLink_ = 0;
            samplesAtWatch_ = samples_;
            s_.timers.setTimer(kSampleWatchTimer, kSampleWatchMs);
            s_.log("found the instrument on " + portName() + ": RS" + engine_.lineType() + " at " +
                   std::to_string(config_.linkBaudrate) + " baud");
            if (s_.linkChanged)
                s_.linkChanged(true);
        } else {
            retryLater(); // the engine has logged why
        }
    } else if (phase_ == Phase::Connected && !engine_.portOpen()) {
        s_.log("lost the link on " + portName() + " after " + std::to_string(samplesOnLink_) +
               " samples");
        if (s_.linkChanged)
            s_.linkChanged(false);
        retryLater();
    }
}

void CRecorder::watchSamples()
{
    if (phase_ != Phase::Connected) {
        s_.timers.killTimer(kSampleWatchTimer);
        return;
    }
    if (samples_ != samplesAtWatch_) {
        samplesAtWatch_ = samples_;
        return;
    }
    s_.log("no sample for " + std::to_string(kSampleWatchMs / 1000) + " s on " + portName() +
           ": closing the link");
    engine_.OnDisconnect(); // confirmed
    afterEvent();
}

void CRecorder::retryLater()
{
    s_.timers.killTimer(kSampleWatchTimer);
    phase_ = Phase::Waiting;
    const int pauseMs = schedule_.nextPauseMs();
    s_.timers.setTimer(kRetryTimer, pauseMs);
    s_.log("retrying in " + std::to_string(pauseMs / 1000) + " s");
}

void CRecorder::tell(std::string_view text, MessageIcon)
{
    // The engine names the port "COMn"; the operator also needs the device and the reason (a
    // missing adapter, a user not in the dialout group).
    if (text.rfind("ERROR: Unable to open COM", 0) == 0 && s_.portProblem) {
        if (const std::string problem = s_.portProblem(); !problem.empty()) {
            s_.log(std::string(text) + " (" + problem + ")");
            return;
        }
    }
    s_.log(text);
}

bool CRecorder::askYesNo(std::string_view text, MessageIcon)
{
    if (text == kDeleteRecordingQuestion) {
        const bool empty = truncateNext_;
        truncateNext_ = false; // later searches append to what the earlier links recorded
        return empty;
    }
    return true; // the search, a disconnection, the exit
}

void CRecorder::appendDataText(std::string_view dataText)
{
    s_.recording.appendDataText(dataText);
    if (!makesRecordingLine(dataText))
        return; // never a line of the file
    ++samples_;
    ++samplesOnLink_;
    schedule_.reset(); // this link worked: a later loss starts the pauses again from 1 s
}

std::string CRecorder::portName() const
{
    if (!setup_.device.empty())
        return setup_.device;
    return "COM" + std::to_string(config_.linkPort);
}

std::string CRecorder::scopeText() const
{
    const CAutodetect::Scope& scope = setup_.scope;
    std::string text;
    if (!setup_.device.empty())
        text = setup_.device;
    else if (scope.firstPort == scope.lastPort)
        text = "COM" + std::to_string(scope.firstPort);
    else
        text = "COM" + std::to_string(scope.firstPort) + "-COM" + std::to_string(scope.lastPort);
    if (scope.baudRate != 0)
        return text + " at " + std::to_string(scope.baudRate) + " baud";
    return text + " at every rate";
}
