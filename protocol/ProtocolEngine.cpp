#include "protocol/ProtocolEngine.h"

#include "core/CText.h"
#include "protocol/DataRow.h"
#include "protocol/ReplyParser.h"

namespace pt = protocol_timer;

namespace {

constexpr int kMenuScrollRows = 24;

// How soon a reply time-out looks again while a line that came in time waits to be handled.
constexpr int kWaitingLineRecheckMs = 50;

const char* const kReplyTimeLayout = "%H:%M:%S %Y/%m/%d ";

} // namespace

CProtocolEngine::CProtocolEngine(const Services& services) : s_(services) {}

void CProtocolEngine::AddCommand(int address, int type)
{
    auto command = CCommand::create(address, type, lineType_, dialogue_);
    if (!command) {
        s_.messages.tell("Syntax message incorrect", MessageIcon::Exclamation);
        return;
    }
    queue_.addHead(std::move(command));
}

void CProtocolEngine::SendCommand(const std::string& text)
{
    sendEnable_ = false;
    replyText_.clear();
    // In RS232 data mode the command writes nothing: the instrument streams by itself, and a
    // purge here would destroy the line it is sending.
    if (text.empty() && lineType_ == "232")
        return;
    s_.port.purge();
    s_.port.clearLineBuffer();
    // The break wakes RS485 instruments; RS232 instruments stream and need none.
    if (lineType_ != "232")
        s_.port.sendBreak();
    if (!text.empty())
        s_.port.write(text);
}

void CProtocolEngine::OnTimer(int id)
{
    switch (id) {
    case pt::kSend:
        onSendTimer();
        break;
    case pt::kReply:
        onReplyTimeout();
        break;
    case pt::kWatchdog:
        onWatchdog();
        break;
    case pt::kPoll:
        onPollTimer();
        break;
    default:
        return;
    }
    continueSearch();
}

void CProtocolEngine::onSendTimer()
{
    if (!sendEnable_ || queue_.empty())
        return;
    sendTail();
}

void CProtocolEngine::sendTail()
{
    current_ = queue_.tail();
    ++sendCount_;
    replyTimeoutMs_ = current_->timeout() * 10;
    sentAtMs_ = s_.timers.nowMs();
    replyDeferred_ = false;
    SendCommand(current_->text());
    s_.timers.setTimer(pt::kReply, replyTimeoutMs_);
}

bool CProtocolEngine::streamedLineAnswersTail() const
{
    return current_ == nullptr && sendEnable_ && !dialogue_ && lineType_ == "232" &&
           !queue_.empty() && queue_.tail()->type() == CCommand::DataLine &&
           queue_.tail()->text().empty();
}

void CProtocolEngine::dropServedCommand()
{
    queue_.dropTail();
    current_ = nullptr;
}

bool CProtocolEngine::replyTimeoutWaits()
{
    const IProtocolPort::Arrivals seen = s_.port.arrivals();
    const bool streaming = lineType_ == "232" && !dialogue_;
    // The lines the reader already holds come first: on RS232 every one of them is data, on the
    // other line types one that came within the time-out is the reply.
    if (seen.waitingLineMs >= 0 &&
        (streaming || seen.waitingLineMs <= sentAtMs_ + replyTimeoutMs_)) {
        s_.timers.setTimer(pt::kReply, kWaitingLineRecheckMs);
        replyDeferred_ = true;
        return true;
    }
    const std::int64_t silentMs = s_.timers.nowMs() - seen.lastByteMs;
    if (streaming && seen.lastByteMs >= 0 && silentMs < replyTimeoutMs_) {
        s_.timers.setTimer(pt::kReply, static_cast<int>(replyTimeoutMs_ - silentMs));
        return true;
    }
    return false;
}

void CProtocolEngine::onReplyTimeout()
{
    if (replyTimeoutWaits())
        return;
    replyDeferred_ = false;
    dropServedCommand();
    s_.port.setReceiveEnable(true);
    sendEnable_ = true;
    s_.timers.killTimer(pt::kReply);
    s_.timers.killTimer(pt::kSend);
    if (linkState_ == "?")
        linkState_ = "KO"; // the search moves on
    else
        s_.timers.setTimer(pt::kWatchdog, pt::kLostLinkGraceMs);
    if (dataMode() && !dialogue_)
        CloseLink();
}

void CProtocolEngine::onWatchdog()
{
    // One-shot: without this a link that cannot be closed would be "closed" again and again.
    s_.timers.killTimer(pt::kWatchdog);
    dropServedCommand();
    setDialogue(false);
    s_.port.setReceiveEnable(true);
    sendEnable_ = true;
    CloseLink();
}

void CProtocolEngine::onPollTimer()
{
    AddCommand(kInstrumentAddress, CCommand::Measure);
    s_.timers.killTimer(pt::kPoll);
}

void CProtocolEngine::OnSerialReply(std::string line)
{
    // A line that was on its way when the link closed belongs to no exchange.
    if (!portOpen_ || inReply_)
        return;
    inReply_ = true;
    // The RS232 data-line command writes nothing, so a streamed line that comes before the send
    // timer has sent it answers it all the same: it is sent now. However fast the instrument
    // streams, every line is then shown and recorded.
    if (streamedLineAnswersTail())
        sendTail();
    replyText_ = std::move(line);
    handleReply();
    inReply_ = false;
    continueSearch();
}

void CProtocolEngine::handleReply()
{
    bool recognised = true;
    int answeredType = 0; // none: an unsolicited line or a dialogue line
    if (current_ != nullptr) {
        answeredType = current_->type();
        unsigned long sent = sendCount_;
        recognised = interpretReply(answeredType);
        // Showing the reply may have run other events (a message box pumps them): a time-out
        // or a disconnect may have dropped the command or closed the link meanwhile.
        if (!portOpen_)
            return;
        if (sent == sendCount_ && current_ != nullptr)
            dropServedCommand();
        if (replyDeferred_) {
            // The line the time-out waited for has been handled: it runs on as after a send.
            replyDeferred_ = false;
            s_.timers.setTimer(pt::kReply, replyTimeoutMs_);
        }
        sendEnable_ = true;
        s_.timers.killTimer(pt::kSend);
    } else if (dialogue_) {
        handleDialogueLine();
    }
    s_.port.setReceiveEnable(true);
    if (!recognised) {
        if (linkState_ == "?") {
            linkState_ = "KOp"; // the search tries again
            return;
        }
        if (answeredType == CCommand::Identify && reidentifyTries_ > 1) {
            --reidentifyTries_; // a data line came before the answer: ask again
            AddCommand(kInstrumentAddress, CCommand::Identify);
        }
        s_.timers.setTimer(pt::kSend, pt::kSendPeriodMs);
        return;
    }
    continueAfterReply(answeredType);
}

void CProtocolEngine::continueAfterReply(int answeredType)
{
    if (answeredType == CCommand::SetupRs232 || answeredType == CCommand::SetupRs485) {
        s_.timers.killTimer(pt::kReply);
        s_.timers.killTimer(pt::kPoll);
    } else if (answeredType != 0 || !s_.timers.isActive(pt::kSend)) {
        // A line that answered nothing must not postpone a send that is due: an instrument
        // streaming faster than the send period would never get its command.
        s_.timers.setTimer(pt::kSend, pt::kSendPeriodMs);
    }
    switch (answeredType) {
    case CCommand::Identify:
        reidentifyTries_ = 0;
        if (dataMode()) {
            s_.view.SetupColumns(IProtocolView::kLayoutData);
            ledState_ = IProtocolView::kLedLit;
            if (lineType_ == "485")
                s_.timers.setTimer(pt::kPoll, pt::kPollPeriodMs);
            else
                AddCommand(kInstrumentAddress, CCommand::DataLine);
        }
        break;
    case CCommand::Measure:
        if (dialogueRequested_)
            enterDialogueFor(CCommand::SetupRs485);
        else
            s_.timers.setTimer(pt::kPoll, pt::kPollPeriodMs);
        break;
    case CCommand::DataLine:
        if (dialogueRequested_)
            enterDialogueFor(CCommand::SetupRs232);
        else
            AddCommand(kInstrumentAddress, CCommand::DataLine);
        break;
    default:
        break;
    }
}

void CProtocolEngine::enterDialogueFor(int setupType)
{
    dialogueRequested_ = false;
    setDialogue(true); // before the command is framed: on RS232 it then sends "?"
    AddCommand(kInstrumentAddress, setupType);
    // The RS232 wire is quiet just after a data line, so "?" goes out now, before the next line
    // starts: sent by the timer it would cut that line, or leave it unshown.
    if (setupType == CCommand::SetupRs232 && sendEnable_ && queue_.size() == 1)
        sendTail();
}

bool CProtocolEngine::interpretReply(int type)
{
    switch (type) {
    case CCommand::Identify:
        return interpretIdentification();
    case CCommand::Measure: {
        auto data = parseMeasureReply(replyText_);
        if (!data)
            return false;
        addDataRow(*data, kReplyTimeLayout);
        return true;
    }
    case CCommand::DataLine:
        addDataRow(parseDataLine(replyText_), kStreamTimeLayout);
        return true;
    case CCommand::SetupRs232:
    case CCommand::SetupRs485:
        showFirstMenuLine();
        return true;
    default:
        return true;
    }
}

bool CProtocolEngine::interpretIdentification()
{
    auto reply = parseIdentification(replyText_);
    if (!reply)
        return false;
    if (!reply->lineType.empty())
        lineType_ = reply->lineType;
    else if (reidentifyTries_ > 0)
        lineType_ = menuLineType_; // the line type the link had before the menu
    s_.unit.setSpeedUnit(reply->unit);
    if (linkState_ == "?")
        linkState_ = "OK";
    return true;
}

void CProtocolEngine::addDataRow(const std::string& data, const char* timeLayout)
{
    appendDataRow(s_.view, s_.recording, ledState_, formatTime(s_.clock.localNow(), timeLayout),
                  data);
}

void CProtocolEngine::showFirstMenuLine()
{
    s_.view.SetupMenuColumns();
    s_.timers.setTimer(pt::kWatchdog, pt::kDialogueSilenceMs);
    std::string_view text = ctext::trimBoth(replyText_);
    s_.view.appendRow(text);
    bool prompt = !text.empty() && text.back() == ':';
    if (s_.view.rowCount() >= kMenuScrollRows && !prompt)
        s_.view.scrollList();
}

void CProtocolEngine::handleDialogueLine()
{
    s_.timers.setTimer(pt::kWatchdog, pt::kDialogueSilenceMs);
    std::string text(ctext::trimBoth(replyText_));
    s_.view.appendRow(text);
    bool scroll = s_.view.rowCount() >= kDataScrollRows;
    bool prompt = !text.empty() && text.back() == ':';
    if (prompt && lastPromptChar_ != ':') {
        // Three blank rows below a new prompt: typed characters are echoed into the fourth row
        // from the end, which is then the prompt's own row.
        s_.view.appendRow(" ");
        if (scroll)
            s_.view.scrollList();
        s_.view.appendRow(" ");
        s_.view.appendRow(" ");
    } else if (!prompt && scroll) {
        s_.view.scrollList();
    }
    lastPromptChar_ = text.empty() ? '\0' : text.back();
    if (text == "?")
        leaveDialogue();
}

void CProtocolEngine::leaveDialogue()
{
    // The instrument has closed its menu, where its speed unit may have changed. The table
    // waits, empty and not recording, while the instrument is asked for its identification
    // again; its answer lays out the data table with the unit it reports and resumes data mode
    // as after the search.
    s_.view.deleteAllRows();
    s_.view.SetupColumns(IProtocolView::kLayoutAfterMenu);
    s_.timers.killTimer(pt::kWatchdog);
    setDialogue(false);
    sendEnable_ = true;
    menuLineType_ = lineType_;
    lineType_.clear(); // so that "D" is framed and sent on either line type
    reidentifyTries_ = CAutodetect::kTriesPerSetting;
    AddCommand(kInstrumentAddress, CCommand::Identify);
}

void CProtocolEngine::OnDialogueLineComplete()
{
    if (dialogue_)
        s_.timers.killTimer(pt::kWatchdog);
}

void CProtocolEngine::requestDialogue()
{
    if (dataMode() && !dialogue_)
        dialogueRequested_ = true;
}

void CProtocolEngine::setDialogue(bool dialogue)
{
    dialogue_ = dialogue;
    s_.port.setDialogueMode(dialogue);
}
