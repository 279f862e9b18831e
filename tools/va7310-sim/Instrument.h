#pragma once
// CInstrument: the VA7310's side of the serial protocol, without any I/O. The caller feeds it
// the bytes received and the passing time, and sends the lines it returns.
//
// RS232 streams a data line every period and opens its set-up menu on "?"; RS485 answers the
// framed "M<addr>.." with a data reply and opens the menu on "S<addr>..". Both answer the framed
// "D<addr>.." with their identity. Lines end with a carriage return; menu lines with CR LF, and
// prompts end with ":" and nothing after it. A typed digit and a carriage return answer a prompt;
// leaving the menu (0 or Escape) sends the line "?". Nothing is understood or sent while the
// program's line speed differs from the instrument's. The lines it returns are what it starts to
// send; taking the wire's time over them is the caller's (CLinePacer).

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/va7310-sim/SimOptions.h"
#include "tools/va7310-sim/WeatherModel.h"

class CInstrument {
public:
    using Clock = std::chrono::steady_clock;
    using Lines = std::vector<std::string>;
    static constexpr int kLongLineLength = 300;
    static constexpr std::chrono::seconds kMenuTimeout{60};

    CInstrument(const SimOptions& options, Clock::time_point now);

    // Bytes written by the program; returns the lines to send back.
    Lines receive(std::string_view bytes, Clock::time_point now);
    // Lines due by now (RS232 data lines; the menu's silent time-out).
    Lines tick(Clock::time_point now);
    // Time until tick() has something to do; -1 when nothing is scheduled.
    int msUntilDue(Clock::time_point now) const;

    // Whether the program's line speed is the instrument's (set before each receive/tick).
    void setLineMatches(bool matches) { lineMatches_ = matches; }
    // Lines still on their way out (set before each tick). A data line that falls due while two
    // are is skipped: sampled faster than the line carries, the instrument keeps one waiting.
    void setLinesWaiting(std::size_t lines) { linesWaiting_ = lines; }
    bool inMenu() const { return menu_ != Menu::Closed; }
    bool hungUp() const { return hungUp_; }
    // The hang-up comes part-way through the last line returned: only its first half goes out.
    bool lastLineCut() const { return lastLineCut_; }
    int linesSent() const { return linesSent_; }
    const std::string& unit() const { return unit_; }
    int periodMs() const { return periodMs_; }

private:
    enum class Menu { Closed, Main, Unit, Period };

    void command(char letter, char digit);
    void dataByte(char byte);
    void menuByte(char byte);
    void menuAnswer(const std::string& answer);
    void openMenu();
    void showMain();
    void leaveMenu(bool announce);
    std::string nextDataText();
    // Queues one outgoing line, applying the faults.
    void emit(std::string line, bool commandReply = false);

    SimOptions options_;
    CWeatherModel weather_;
    std::string unit_;
    int periodMs_;
    bool lineMatches_ = true;
    std::size_t linesWaiting_ = 0;
    Clock::time_point nextData_;
    Clock::time_point menuDeadline_;
    Menu menu_ = Menu::Closed;
    std::string pending_; // bytes of a command still being framed
    std::string answer_;  // characters typed at a prompt
    Lines out_;
    int linesSent_ = 0;
    int dataTexts_ = 0;
    int garbleLeft_;
    bool silent_;
    bool hungUp_;
    bool lastLineCut_ = false;
};
