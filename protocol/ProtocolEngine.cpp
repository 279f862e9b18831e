#include "protocol/ProtocolEngine.h"

#include "core/CText.h"
#include "protocol/ReplyParser.h"

namespace pt = protocol_timer;

namespace {

// Rows the table shows before new rows need scrolling into view.
constexpr int kDataScrollRows = 25;
constexpr int kMenuScrollRows = 24;

const char* const kReplyTimeLayout = "%H:%M:%S %Y/%m/%d ";
const char* const kStreamTimeLayout = "%H:%M:%S %Y/%m/%d";

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
    s_.port.purge();
    s_.port.clearLineBuffer();
    replyText_.clear();
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
    current_ = queue_.tail();
    ++sendCount_;
    int timeoutMs = current_->timeout() * 10;
    SendCommand(current_->text());
    s_.timers.setTimer(pt::kReply, timeoutMs);
}

void CProtocolEngine::dropServedCommand()
{
    queue_.dropTail();
    current_ = nullptr;
}

void CProtocolEngine::onReplyTimeout()
{
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
        sendEnable_ = true;
        s_.timers.killTimer(pt::kSend);
    } else if (dialogue_) {
        handleDialogueLine();
    }
    s_.port.setReceiveEnable(true);
    if (!recognised) {
        if (linkState_ == "?")
            linkState_ = "KOp"; // the search tries again
        else
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
    } else {
        s_.timers.setTimer(pt::kSend, pt::kSendPeriodMs);
    }
    switch (answeredType) {
    case CCommand::Identify:
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
    s_.unit.setSpeedUnit(reply->unit);
    if (linkState_ == "?")
        linkState_ = "OK";
    return true;
}

void CProtocolEngine::addDataRow(const std::string& data, const char* timeLayout)
{
    int row = s_.view.appendRow(formatTime(s_.clock.localNow(), timeLayout));
    if (s_.view.isRecording()) {
        ledState_ = ledState_ == IProtocolView::kLedDark ? IProtocolView::kLedLit
                                                         : IProtocolView::kLedDark;
        s_.view.setLedState(ledState_);
        s_.recording.appendDataText(data);
    }
    if (s_.view.rowCount() >= kDataScrollRows)
        s_.view.scrollList();
    auto fields = splitDataFields(data);
    for (std::size_t k = 0; k < fields.size(); ++k)
        s_.view.setCellText(row, static_cast<int>(k) + 1, fields[k]);
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
    // The instrument has closed its menu: back to the data table, recording again.
    s_.view.deleteAllRows();
    s_.view.SetupColumns(IProtocolView::kLayoutData);
    ledState_ = IProtocolView::kLedLit;
    s_.timers.killTimer(pt::kWatchdog);
    setDialogue(false);
    sendEnable_ = true;
    if (lineType_ == "232")
        AddCommand(kInstrumentAddress, CCommand::DataLine);
    else if (lineType_ == "485")
        s_.timers.setTimer(pt::kPoll, pt::kPollPeriodMs);
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
