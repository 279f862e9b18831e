// CProtocolEngine: opening and closing the link, the frame's commands and the autodetect search.
#include <cstdio>

#include "protocol/ProtocolEngine.h"

namespace pt = protocol_timer;

namespace {

template <typename... Args>
std::string format(const char* layout, Args... args)
{
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, layout, args...);
    return buffer;
}

} // namespace

void CProtocolEngine::showDisconnected()
{
    s_.frame.showLinkState("Disconnected", link_colour::kYellow, link_colour::kYellowDisabled);
}

bool CProtocolEngine::OpenLink()
{
    const CConnConfig& config = s_.connConfig;
    s_.frame.setWaitCursor(true);
    s_.frame.showLinkState(
        format("Looking for.. COM%d %d 8,N,1", config.linkPort, config.linkBaudrate),
        link_colour::kYellow, link_colour::kYellowDisabled);
    portOpen_ = false;
    if (s_.port.open("COM" + std::to_string(config.linkPort)) != 0) {
        s_.frame.setWaitCursor(false);
        s_.messages.tell(format("ERROR: Unable to open COM%d.", config.linkPort),
                         MessageIcon::Stop);
        s_.frame.commandStatesChanged();
        return false;
    }
    portOpen_ = true;
    s_.port.configureLine(config.linkBaudrate, 8, 0, 2);
    s_.frame.setWaitCursor(false);
    s_.frame.commandStatesChanged();
    return true;
}

void CProtocolEngine::CloseLink()
{
    if (s_.connConfig.connMode != 0)
        return;
    searching_ = false;
    lineType_.clear();
    reidentifyTries_ = 0;
    setDialogue(false);
    dialogueRequested_ = false;
    s_.view.setLedState(IProtocolView::kLedOff);
    s_.view.setRecIndicator(false);
    for (int id : {pt::kSend, pt::kReply, pt::kWatchdog, pt::kPoll})
        s_.timers.killTimer(id);
    s_.port.purge();
    s_.port.close();
    portOpen_ = false;
    s_.port.setReceiveEnable(false);
    s_.port.clearLineBuffer();
    // Commands of a closed link must not go out on the next one.
    queue_.clear();
    current_ = nullptr;
    showDisconnected();
    s_.frame.commandStatesChanged();
}

void CProtocolEngine::OnDisconnect()
{
    if (!canDisconnect())
        return;
    if (!s_.messages.askYesNo("Confirm disconnection ?", MessageIcon::Information))
        return;
    dropServedCommand();
    lineType_.clear();
    setDialogue(false);
    dialogueRequested_ = false;
    searching_ = false;
    CloseLink();
    s_.frame.commandStatesChanged();
}

bool CProtocolEngine::OnExit()
{
    if (!s_.messages.askYesNo("Confirm Exit?", MessageIcon::None))
        return false;
    searching_ = false;
    CloseLink();
    return true;
}

void CProtocolEngine::OnLineFailure()
{
    if (!portOpen_)
        return;
    // While searching, a failing line only ends the attempt at this setting.
    if (searching_ && linkState_ == "?") {
        onReplyTimeout();
        continueSearch();
        return;
    }
    CloseLink();
}

void CProtocolEngine::OnAutodetect()
{
    if (!canAutodetect())
        return;
    if (!s_.messages.askYesNo("WARNING: Autodetect program will search the connected "
                              "instrument.\nThis program will required few seconds.\n"
                              "Confirm proceeds ?",
                              MessageIcon::Exclamation))
        return;
    if (s_.messages.askYesNo(kDeleteRecordingQuestion, MessageIcon::Question))
        s_.recording.emptyFile(); // tells the user itself when it cannot
    sendEnable_ = true;
    s_.port.clearLineBuffer();
    s_.view.deleteAllRows();
    s_.port.setReceiveEnable(true);
    lineType_.clear();
    queue_.clear();
    current_ = nullptr;
    s_.connConfig.linkPort = autodetect_.scope().firstPort;
    linkState_ = "KO";
    autodetect_.start();
    searching_ = true;
    s_.frame.commandStatesChanged();
    continueSearch();
}

// Runs after every event while the search is on: starts the next attempt once the previous
// one has ended ("KO": no answer, "KOp": a garbled one) and stops when the instrument answered
// ("OK"). Events that a message box runs meanwhile only change the link state; the loop here
// picks that up, so attempts never nest.
void CProtocolEngine::continueSearch()
{
    if (!searching_ || searchStepping_)
        return;
    searchStepping_ = true;
    while (searching_) {
        if (linkState_ == "OK") {
            searchFound();
            break;
        }
        if (linkState_.rfind("KO", 0) != 0)
            break; // the identification is outstanding
        startAttempt();
    }
    searchStepping_ = false;
}

void CProtocolEngine::startAttempt()
{
    bool garbled = linkState_ == "KOp";
    linkState_ = "?";
    lineType_.clear();
    s_.timers.setTimer(pt::kSend, pt::kSendPeriodMs);
    AddCommand(kInstrumentAddress, CCommand::Identify);
    auto setting = autodetect_.next(garbled);
    if (!setting) {
        searching_ = false;
        CloseLink();
        s_.messages.tell("ERROR: Instrument Not Found", MessageIcon::Stop);
        s_.frame.commandStatesChanged();
        return;
    }
    s_.connConfig.linkPort = setting->port;
    s_.connConfig.linkBaudrate = setting->baudRate;
    if (portOpen_) {
        s_.port.purge();
        s_.port.close();
        portOpen_ = false;
    }
    if (!OpenLink())
        autodetect_.portFailed();
}

void CProtocolEngine::searchFound()
{
    searching_ = false;
    const CConnConfig& config = s_.connConfig;
    s_.frame.showLinkState(format("Connected to COM%d RS%s %d 8,N,2", config.linkPort,
                                  lineType_.c_str(), config.linkBaudrate),
                           link_colour::kGreen, link_colour::kGreenDisabled);
    s_.frame.commandStatesChanged();
}
