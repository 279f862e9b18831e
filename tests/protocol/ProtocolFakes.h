#pragma once
// Stand-ins for the protocol engine's surroundings: a fake timeline that is both the clock and
// the timer table (time only moves when a test advances it), a port that records every call, a
// view that keeps its rows in memory, a frame that records the link pane, a recording sink, and
// a small VA7310 that answers what is written to the port. CProtocolRig wires them to an engine.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/ConnConfig.h"
#include "protocol/ProtocolEngine.h"
#include "tests/support/ScriptedMessageBox.h"

class CFakeTimeline final : public ITimerTable, public IClock {
public:
    void setTimer(int id, int periodMs) override;
    void killTimer(int id) override;
    bool isActive(int id) const override { return running(id); }
    std::int64_t nowMs() const override { return now_; }
    // 2024/05/17 10:20:30 plus the time the test has let pass, unless setStart() says otherwise.
    std::tm localNow() const override;
    // The local time at time 0.
    void setStart(const std::tm& start);

    void setTimerHandler(std::function<void(int)> handler) { handler_ = std::move(handler); }
    // Runs action delayMs from now.
    void at(std::int64_t delayMs, std::function<void()> action);
    // Moves time on, firing timers and actions in time order.
    void advance(std::int64_t ms);

    std::int64_t now() const { return now_; }
    bool running(int id) const { return timers_.count(id) != 0; }
    int period(int id) const { return running(id) ? timers_.at(id).period : 0; }

private:
    struct Timer {
        int period;
        std::int64_t due;
        std::uint64_t order;
    };
    std::map<int, Timer> timers_;
    std::map<std::pair<std::int64_t, std::uint64_t>, std::function<void()>> actions_;
    std::function<void(int)> handler_;
    std::int64_t now_ = 0;
    std::uint64_t order_ = 0;
    std::time_t start_ = 1715941230; // 2024/05/17 10:20:30, taken as local time
};

class CFakePort final : public IProtocolPort {
public:
    int open(const std::string& comName) override;
    int configureLine(int baudRate, int dataBits, int parity, int stopBits) override;
    int close() override;
    int purge() override;
    int sendBreak() override;
    int write(std::string_view bytes) override;
    void clearLineBuffer() override { calls.push_back("clear"); }
    void setReceiveEnable(bool enable) override
    {
        receiveEnable = enable;
        if (enable)
            seen.waitingLineMs = -1; // the line handed over has been handled
    }
    void setDialogueMode(bool on) override { dialogueMode = on; }
    Arrivals arrivals() const override { return seen; }

    // Every call in order: "open COM1", "configure 9600 8 0 2", "purge", "break", "write M1..".
    std::vector<std::string> calls;
    std::vector<std::string> opens() const;
    std::vector<std::string> writes() const;

    std::set<std::string> missing; // COM names that cannot be opened
    bool isOpen = false;
    std::string comName;
    int baudRate = 0;
    bool receiveEnable = false;
    bool dialogueMode = false;
    Arrivals seen; // what the reader would report
    std::function<void(const std::string&)> onWrite;

private:
    int onOpenPort(std::string call);
};

class CFakeView final : public IProtocolView {
public:
    void SetupColumns(int layout) override;
    void SetupMenuColumns() override;
    int rowCount() const override { return static_cast<int>(rows.size()); }
    int appendRow(std::string_view text) override;
    void setCellText(int row, int column, std::string_view text) override;
    std::string cellText(int row, int column) const override;
    void deleteAllRows() override { rows.clear(); }
    void scrollList() override { ++scrolls; }
    void setLedState(int state) override { leds.push_back(state); }
    void setRecIndicator(bool enabled) override { rec = enabled; }
    bool isRecording() const override { return recording; }

    std::vector<std::vector<std::string>> rows;
    std::vector<int> layouts; // -1 for the set-up layout
    std::vector<int> leds;
    int scrolls = 0;
    bool rec = false;
    bool recording = false;
};

class CFakeFrame final : public IProtocolFrame {
public:
    void showLinkState(std::string_view text, std::uint32_t colour,
                       std::uint32_t disabledColour) override;
    void setWaitCursor(bool on) override { waitCursor = on; }
    void commandStatesChanged() override { ++refreshes; }

    std::vector<std::string> paneTexts;
    std::uint32_t colour = 0;
    std::uint32_t disabledColour = 0;
    bool waitCursor = false;
    int refreshes = 0;
};

class CFakeSink final : public IRecordingSink {
public:
    void appendDataText(std::string_view text) override
    {
        lines.emplace_back(text);
        if (duringAppend)
            duringAppend();
    }
    bool emptyFile() override
    {
        ++emptied;
        return true;
    }
    std::vector<std::string> lines;
    int emptied = 0;
    // Runs inside appendDataText, as events do while the writer shows a message box.
    std::function<void()> duringAppend;
};

// A VA7310 on one COM name and rate. It answers "D1.." with its identity and "M1.." with a data
// line after replyDelayMs; with streamPeriodMs > 0 it streams data lines by itself (RS232).
// Only the instrument's own rate gets an answer; garble replaces the next replies by text
// without "&".
struct InstrumentConfig {
    std::string comName = "COM1";
    int baudRate = 9600;
    std::string identity = "Vavizi232";
    std::string unit = "m/s";
    int replyDelayMs = 10;
    int streamPeriodMs = 0;
    int streamStartMs = 0; // when the first line is streamed; 0: one period in
    int garble = 0;
};

class CProtocolRig;

class CFakeInstrument {
public:
    CFakeInstrument(CProtocolRig& rig, InstrumentConfig config);
    std::string dataText() const; // the next data text (104 characters)
    int sent = 0;                 // data lines sent

private:
    void onWrite(const std::string& bytes);
    void stream();
    bool listening() const;

    CProtocolRig& rig_;
    InstrumentConfig config_;
};

class CProtocolRig {
public:
    CProtocolRig();

    // The port's reader hands a line over (it clears receive-enable first).
    void deliver(const std::string& line);
    void deliverAfter(std::int64_t delayMs, const std::string& line);
    // Runs an autodetect search answering Yes to the confirmation and No to emptying the file.
    void autodetect();
    // Brings the engine to data mode through an identification answered at once on COM1.
    void connect(const std::string& identity);

    CFakeTimeline time;
    CFakePort port;
    CFakeView view;
    CFakeFrame frame;
    CFakeSink sink;
    CScriptedMessageBox messages;
    CConnConfig config;
    Unit unit;
    CProtocolEngine engine;
    int undelivered = 0; // lines handed over while reception was disabled
};

// A 104-character data text whose fields are "F01....." .. "F13.....".
std::string sampleDataText();
