#pragma once
// CRecorder: the protocol engine run without a user. It stands in for the window (view, frame
// and message boxes: a search is always confirmed, the recording file emptied only when asked
// at start), starts the first search, and after a lost link or a search without result searches
// again after a growing pause (CReconnectSchedule). Each event is logged as one line; the
// engine's messages are logged as they are. Every protocol decision stays in the engine.
//
// A link that records nothing (the instrument sends garbage, at another rate perhaps, which the
// engine takes as lines) is closed after kSampleWatchMs without a sample, as a lost link.
//
// The program forwards the timers of its table (the engine's and its own), the port's lines
// and its line failures, all on one thread. Tests drive it on a fake timeline.

#include <functional>
#include <string>
#include <string_view>

#include "core/ConnConfig.h"
#include "core/Unit.h"
#include "protocol/ProtocolEngine.h"
#include "tools/record/HeadlessView.h"
#include "core/ReconnectSchedule.h"

class CRecorder final : private IProtocolFrame, private IMessageBox, private IRecordingSink {
public:
    using Log = std::function<void(std::string_view line)>;

    // The pause before the next search, beside the engine's timers 0, 1, 6 and 7.
    static constexpr int kRetryTimer = 16;
    // Checks that a connected link still records samples.
    static constexpr int kSampleWatchTimer = 17;
    // A healthy link records a sample at least every 2.2 s (the engine's silence time-out).
    static constexpr int kSampleWatchMs = 30000;

    struct Services {
        ITimerTable& timers;
        IProtocolPort& port;
        IRecordingSink& recording;
        IClock& clock;
        Log log;
        // Why the port last failed to open ("/dev/ttyUSB0: Permission denied"), added to the
        // engine's message; may be empty.
        std::function<std::string()> portProblem;
        // Told when a link to the instrument is found (true) and when it is lost; may be empty.
        std::function<void(bool up)> linkChanged{};
    };

    struct Setup {
        CAutodetect::Scope scope;
        // How the log names the port: empty for "COMn"; otherwise the device that COM<first
        // port> opens.
        std::string device;
        bool truncate = false; // empty the recording file at the first search
    };

    CRecorder(const Services& services, const Setup& setup);

    // The first search.
    void start();
    // Closes the link and cancels a pending search; nothing happens after it.
    void stop();

    void onTimer(int id);
    void onSerialReply(std::string line);
    void onLineFailure();
    void onDialogueLineComplete() { engine_.OnDialogueLineComplete(); }

    enum class Phase { Idle, Searching, Connected, Waiting, Stopped };
    Phase phase() const { return phase_; }
    const CProtocolEngine& engine() const { return engine_; }
    // Samples recorded since start, and since the link was last found.
    unsigned long long samples() const { return samples_; }
    unsigned long long samplesOnLink() const { return samplesOnLink_; }
    // The instrument's units, its line speed and how the log names its port.
    const Unit& unit() const { return unit_; }
    int linkBaudrate() const { return config_.linkBaudrate; }
    std::string portName() const;

private:
    // IProtocolFrame: nothing to show.
    void showLinkState(std::string_view, std::uint32_t, std::uint32_t) override {}
    void setWaitCursor(bool) override {}
    void commandStatesChanged() override {}
    // IMessageBox: messages are logged; questions answered as a user starting the recorder would.
    void tell(std::string_view text, MessageIcon icon) override;
    bool askYesNo(std::string_view text, MessageIcon icon) override;
    // IRecordingSink: counts samples on their way to the files.
    void appendDataText(std::string_view dataText) override;
    bool emptyFile() override { return s_.recording.emptyFile(); }

    void search();
    // After every event: notices a search that ended and a link that closed.
    void afterEvent();
    void retryLater();
    void watchSamples();
    std::string scopeText() const;

    Services s_;
    Setup setup_;
    CHeadlessView view_;
    CConnConfig config_;
    Unit unit_;
    CProtocolEngine engine_;
    CReconnectSchedule schedule_;
    Phase phase_ = Phase::Idle;
    bool truncateNext_ = false;
    unsigned long long samples_ = 0;
    unsigned long long samplesOnLink_ = 0;
    unsigned long long samplesAtWatch_ = 0;
};
