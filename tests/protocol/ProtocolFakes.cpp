#include "tests/protocol/ProtocolFakes.h"

#include <cerrno>
#include <cstdio>

// ---- CFakeTimeline

void CFakeTimeline::setTimer(int id, int periodMs)
{
    timers_[id] = Timer{periodMs, now_ + periodMs, order_++};
}

void CFakeTimeline::killTimer(int id) { timers_.erase(id); }

std::tm CFakeTimeline::localNow() const
{
    std::time_t flat = start_ + static_cast<std::time_t>(now_ / 1000);
    std::tm result{};
    gmtime_r(&flat, &result);
    return result;
}

void CFakeTimeline::setStart(const std::tm& start)
{
    std::tm copy = start;
    start_ = timegm(&copy);
}

void CFakeTimeline::at(std::int64_t delayMs, std::function<void()> action)
{
    actions_.emplace(std::make_pair(now_ + delayMs, order_++), std::move(action));
}

void CFakeTimeline::advance(std::int64_t ms)
{
    std::int64_t end = now_ + ms;
    for (;;) {
        auto timer = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it)
            if (timer == timers_.end() || std::make_pair(it->second.due, it->second.order) <
                                              std::make_pair(timer->second.due,
                                                             timer->second.order))
                timer = it;
        auto action = actions_.begin();
        bool timerDue = timer != timers_.end() && timer->second.due <= end;
        bool actionDue = action != actions_.end() && action->first.first <= end;
        if (!timerDue && !actionDue)
            break;
        if (timerDue && (!actionDue || std::make_pair(timer->second.due, timer->second.order) <
                                           action->first)) {
            now_ = timer->second.due;
            int id = timer->first;
            timer->second.due += timer->second.period;
            timer->second.order = order_++;
            if (handler_)
                handler_(id);
        } else {
            now_ = action->first.first;
            auto run = std::move(action->second);
            actions_.erase(action);
            run();
        }
    }
    now_ = end;
}

// ---- CFakePort

int CFakePort::open(const std::string& name)
{
    calls.push_back("open " + name);
    if (isOpen)
        return 1247;
    if (missing.count(name) != 0)
        return ENOENT;
    isOpen = true;
    comName = name;
    return 0;
}

int CFakePort::configureLine(int baud, int dataBits, int parity, int stopBits)
{
    calls.push_back("configure " + std::to_string(baud) + " " + std::to_string(dataBits) + " " +
                    std::to_string(parity) + " " + std::to_string(stopBits));
    if (!isOpen)
        return 6;
    baudRate = baud;
    return 0;
}

int CFakePort::close()
{
    calls.push_back("close");
    isOpen = false;
    return 0;
}

int CFakePort::purge()
{
    calls.push_back("purge");
    return isOpen ? 0 : 6;
}

int CFakePort::sendBreak()
{
    calls.push_back("break");
    return isOpen ? 0 : 6;
}

int CFakePort::write(std::string_view bytes)
{
    calls.push_back("write " + std::string(bytes));
    if (!isOpen)
        return 6;
    if (onWrite)
        onWrite(std::string(bytes));
    return 0;
}

std::vector<std::string> CFakePort::opens() const
{
    std::vector<std::string> result;
    for (std::size_t i = 0; i < calls.size(); ++i)
        if (calls[i].rfind("open ", 0) == 0 && i + 1 < calls.size() &&
            calls[i + 1].rfind("configure ", 0) == 0)
            result.push_back(calls[i].substr(5) + " " + calls[i + 1].substr(10));
    return result;
}

std::vector<std::string> CFakePort::writes() const
{
    std::vector<std::string> result;
    for (const auto& call : calls)
        if (call.rfind("write ", 0) == 0)
            result.push_back(call.substr(6));
    return result;
}

// ---- CFakeView

void CFakeView::SetupColumns(int layout)
{
    layouts.push_back(layout);
    recording = layout == kLayoutData;
    rec = recording;
    leds.push_back(layout == kLayoutData ? kLedLit : kLedOff);
}

void CFakeView::SetupMenuColumns()
{
    layouts.push_back(-1);
    rec = false;
    leds.push_back(kLedOff);
}

int CFakeView::appendRow(std::string_view text)
{
    rows.push_back(std::vector<std::string>(14));
    rows.back()[0] = std::string(text);
    return rowCount() - 1;
}

void CFakeView::setCellText(int row, int column, std::string_view text)
{
    rows.at(row).at(column) = std::string(text);
}

std::string CFakeView::cellText(int row, int column) const { return rows.at(row).at(column); }

// ---- CFakeFrame

void CFakeFrame::showLinkState(std::string_view text, std::uint32_t background,
                               std::uint32_t disabledBackground)
{
    paneTexts.emplace_back(text);
    colour = background;
    disabledColour = disabledBackground;
}

// ---- CFakeInstrument

std::string sampleDataText()
{
    std::string text;
    for (int k = 1; k <= 13; ++k)
        text += "F" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ".....";
    return text;
}

CFakeInstrument::CFakeInstrument(CProtocolRig& rig, InstrumentConfig config)
    : rig_(rig), config_(std::move(config))
{
    rig_.port.onWrite = [this](const std::string& bytes) { onWrite(bytes); };
    if (config_.streamPeriodMs > 0)
        rig_.time.at(config_.streamStartMs > 0 ? config_.streamStartMs : config_.streamPeriodMs,
                     [this] { stream(); });
}

bool CFakeInstrument::listening() const
{
    return rig_.port.isOpen && rig_.port.comName == config_.comName &&
           rig_.port.baudRate == config_.baudRate;
}

std::string CFakeInstrument::dataText() const
{
    std::string text = sampleDataText();
    text.replace(5, 3, std::to_string(100 + sent % 900));
    return text;
}

void CFakeInstrument::onWrite(const std::string& bytes)
{
    if (!listening())
        return;
    std::string reply;
    if (bytes == "D1..")
        reply = config_.identity + "&" + config_.unit + "&\r";
    else if (bytes == "M1..")
        reply = "IIIIM1I&" + dataText() + "&\r";
    else
        return;
    if (config_.garble > 0) {
        --config_.garble;
        reply = "garbled\r";
    }
    if (bytes == "M1..")
        ++sent;
    rig_.deliverAfter(config_.replyDelayMs, reply);
}

void CFakeInstrument::stream()
{
    if (listening()) {
        rig_.deliver(dataText() + "\r");
        ++sent;
    }
    rig_.time.at(config_.streamPeriodMs, [this] { stream(); });
}

// ---- CProtocolRig

CProtocolRig::CProtocolRig()
    : engine({time, port, view, frame, sink, time, messages, config, unit})
{
    config.connMode = 0;
    time.setTimerHandler([this](int id) { engine.OnTimer(id); });
}

void CProtocolRig::deliver(const std::string& line)
{
    if (!port.isOpen)
        return;
    if (!port.receiveEnable) {
        ++undelivered;
        return;
    }
    port.receiveEnable = false;
    engine.OnSerialReply(line);
}

void CProtocolRig::deliverAfter(std::int64_t delayMs, const std::string& line)
{
    time.at(delayMs, [this, line] { deliver(line); });
}

void CProtocolRig::autodetect()
{
    messages.answer(true);
    messages.answer(false);
    engine.OnAutodetect();
}

void CProtocolRig::connect(const std::string& identity)
{
    autodetect();
    time.advance(200); // the identification goes out
    deliver(identity + "&m/s&\r");
}
