#pragma once
// The instrument protocol engine of the main window: the command queue and its send step, the
// four timers, reply handling, the set-up menu dialogue, the autodetect search, and opening and
// closing the link. It holds every decision; the window layer forwards events to it and
// implements the small interfaces it talks through. Everything runs on the window thread.
//
// The frame calls: OnTimer(id) on each timer expiry; OnSerialReply(line) for each line the
// port hands over; OnLineFailure() when the port's reader asks for a disconnect;
// OnDialogueLineComplete() when the reader has completed a dialogue line; OnAutodetect(),
// OnDisconnect() and OnExit() for its commands, with canAutodetect()/canDisconnect() for their
// enabled states. The view's keyboard filter reads the link through IDialogueLink.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Clock.h"
#include "core/ConnConfig.h"
#include "protocol/DialogueLink.h"
#include "core/MessageBox.h"
#include "core/Unit.h"
#include "files/RecordingSink.h"
#include "protocol/Autodetect.h"
#include "protocol/CommandQueue.h"
#include "protocol/ProtocolFrame.h"
#include "protocol/ProtocolPort.h"
#include "protocol/ProtocolView.h"
#include "protocol/TimerTable.h"

// The question the search asks before it starts, whose Yes empties the recording file.
inline constexpr std::string_view kDeleteRecordingQuestion =
    "Do you want to delete recording file ?";

class CProtocolEngine final : public IDialogueLink {
public:
    // Every command the engine makes goes to the first instrument address.
    static constexpr int kInstrumentAddress = 1;

    struct Services {
        ITimerTable& timers;
        IProtocolPort& port;
        IProtocolView& view;
        IProtocolFrame& frame;
        IRecordingSink& recording;
        IClock& clock;
        IMessageBox& messages;
        CConnConfig& connConfig; // connMode, and the linkPort/linkBaudrate the search sets
        Unit& unit;
    };

    explicit CProtocolEngine(const Services& services);
    CProtocolEngine(const CProtocolEngine&) = delete;
    CProtocolEngine& operator=(const CProtocolEngine&) = delete;

    // Commands of the frame.
    void OnAutodetect();
    void OnDisconnect();
    bool OnExit(); // true when the window may close
    bool canAutodetect() const { return !portOpen_ && !searching_; }
    bool canDisconnect() const { return portOpen_ || searching_; }
    // The ports and rates that the next searches try (all of them unless narrowed).
    void setSearchScope(const CAutodetect::Scope& scope) { autodetect_.setScope(scope); }

    // Events.
    void OnTimer(int id);
    void OnSerialReply(std::string line);
    void OnLineFailure();
    // A dialogue line is on its way: the silence watchdog stops until it has been handled.
    void OnDialogueLineComplete();

    // Operations of the link.
    bool OpenLink();
    void CloseLink();
    void AddCommand(int address, int type);
    void SendCommand(const std::string& text);
    // The link pane's text after creation and after every disconnect.
    void showDisconnected();

    // The keyboard filter's view of the link. The line type is "232" or "485" in data mode and
    // empty while searching and while the instrument, back from its set-up menu, is asked for
    // its identification again. A "?" typed in data mode requests the set-up menu, which the
    // next data reply then opens; the request is ignored in any other state.
    std::string lineType() const override { return lineType_; }
    bool dialogue() const override { return dialogue_; }
    void requestDialogue() override;

    // State, for the frame and for tests.
    bool portOpen() const { return portOpen_; }
    bool searching() const { return searching_; }
    bool sendEnable() const { return sendEnable_; }
    bool dialogueRequested() const { return dialogueRequested_; }
    const std::string& linkState() const { return linkState_; }
    const std::string& replyText() const { return replyText_; }
    const CCommandQueue& queue() const { return queue_; }
    const CCommand* currentCommand() const { return current_; }

private:
    void onSendTimer();
    // Sends the command at the tail of the queue and arms its reply time-out.
    void sendTail();
    // Whether the line just completed answers the queued RS232 data-line command.
    bool streamedLineAnswersTail() const;
    void onReplyTimeout();
    // Whether the reply time-out waits on, measured on when bytes reached the port's reader
    // (re-armed then): a line that came in time is handled first, and in RS232 data mode the
    // link stays up until the instrument itself has sent nothing for the time-out.
    bool replyTimeoutWaits();
    void onWatchdog();
    void onPollTimer();

    void handleReply();
    bool interpretReply(int type);
    bool interpretIdentification();
    void continueAfterReply(int answeredType);
    void addDataRow(const std::string& data, const char* timeLayout);
    void showFirstMenuLine();
    void handleDialogueLine();
    void leaveDialogue();

    void continueSearch();
    void startAttempt();
    void searchFound();

    void dropServedCommand();
    void setDialogue(bool dialogue);
    void enterDialogueFor(int setupType);
    bool dataMode() const { return lineType_ == "232" || lineType_ == "485"; }

    Services s_;
    CCommandQueue queue_;
    CCommand* current_ = nullptr;
    unsigned long sendCount_ = 0; // tells a reply handler whether its command is still current
    std::int64_t sentAtMs_ = 0;   // when the last command was sent, on the timers' clock
    int replyTimeoutMs_ = 0;      // and its reply time-out
    bool replyDeferred_ = false;  // the time-out waits for a line that came in time
    bool portOpen_ = false;
    bool sendEnable_ = false;
    bool dialogue_ = false;
    bool dialogueRequested_ = false;
    bool inReply_ = false;
    std::string linkState_;
    std::string lineType_;
    std::string replyText_;
    char lastPromptChar_ = '\0';
    // Tries left to identify the instrument again after its set-up menu; 0 when not asking.
    int reidentifyTries_ = 0;
    std::string menuLineType_; // the line type before the menu, while asking
    int ledState_ = IProtocolView::kLedLit;

    CAutodetect autodetect_;
    bool searching_ = false;
    bool searchStepping_ = false;
};
