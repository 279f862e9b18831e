#include "tools/va7310-sim/Instrument.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* kUnits[] = {"m/s", "km/h", "knots", "mph", "ft/s"};
constexpr int kPeriods[] = {250, 500, 1000, 2000};
constexpr const char* kMarkers[] = {"_err", "_ofl", "_und", "---- --"};
constexpr char kEscape = 0x1B;

char hexDigit(int value)
{
    return "0123456789ABCDEF"[value & 0xF];
}

} // namespace

CInstrument::CInstrument(const SimOptions& options, Clock::time_point now)
    : options_(options), weather_(options.seed), unit_(options.unit),
      periodMs_(options.periodMs), garbleLeft_(options.garble),
      silent_(options.silentAfter == 0), hungUp_(options.hangupAfter == 0)
{
    nextData_ = now + std::chrono::milliseconds(periodMs_);
}

CInstrument::Lines CInstrument::receive(std::string_view bytes, Clock::time_point now)
{
    out_.clear();
    if (!lineMatches_ || hungUp_)
        return {}; // at another speed the bytes are noise
    for (const char byte : bytes) {
        if (inMenu()) {
            menuDeadline_ = now + kMenuTimeout;
            menuByte(byte);
        } else {
            dataByte(byte);
            if (inMenu())
                menuDeadline_ = now + kMenuTimeout;
        }
    }
    return std::move(out_);
}

void CInstrument::dataByte(char byte)
{
    if (options_.mode == 232 && byte == '?') {
        pending_.clear();
        openMenu();
        return;
    }
    pending_ += byte;
    if (pending_.size() > 16)
        pending_.erase(0, pending_.size() - 16);
    const std::size_t n = pending_.size();
    if (n >= 4 && pending_.compare(n - 2, 2, "..") == 0 &&
        std::isxdigit(static_cast<unsigned char>(pending_[n - 3]))) {
        const char letter = pending_[n - 4];
        const char digit = static_cast<char>(std::toupper(static_cast<unsigned char>(pending_[n - 3])));
        pending_.clear();
        command(letter, digit);
    }
}

void CInstrument::command(char letter, char digit)
{
    if (digit != hexDigit(options_.address))
        return; // another instrument on the bus
    const bool rs485 = options_.mode == 485;
    if (letter == 'D')
        emit(std::string(rs485 ? "Dirado485" : "Vavizi232") + "&" + unit_ + "&\r", true);
    else if (letter == 'M' && rs485)
        emit("IIIIM1I&" + nextDataText() + "&\r", true);
    else if (letter == 'S' && rs485)
        openMenu();
}

std::string CInstrument::nextDataText()
{
    weather_.step();
    ++dataTexts_;
    const double factor = CWeatherModel::speedFactor(unit_);
    if (options_.markersEvery > 0 && dataTexts_ % options_.markersEvery == 0) {
        const int k = dataTexts_ / options_.markersEvery;
        return weather_.dataText(factor, k % CWeatherModel::kFields, kMarkers[k % 4]);
    }
    return weather_.dataText(factor);
}

void CInstrument::openMenu()
{
    answer_.clear();
    showMain();
}

void CInstrument::showMain()
{
    menu_ = Menu::Main;
    emit("VA7310 SET-UP MENU\r\n");
    emit("Line RS" + std::to_string(options_.mode) + " - " + std::to_string(options_.baud) +
         " baud - address " + std::to_string(options_.address) + "\r\n");
    emit("1 - Speed unit (" + unit_ + ")\r\n");
    emit("2 - Output period (" + std::to_string(periodMs_) + " ms)\r\n");
    emit("0 - Exit\r\n");
    emit("Choice:");
}

void CInstrument::menuByte(char byte)
{
    if (byte == kEscape) {
        leaveMenu(true);
    } else if (byte == '\r') {
        const std::string answer = answer_;
        answer_.clear();
        menuAnswer(answer);
    } else if (byte != '\n' && answer_.size() < 32) {
        answer_ += byte;
    }
}

void CInstrument::menuAnswer(const std::string& answer)
{
    const int choice = answer.size() == 1 && std::isdigit(static_cast<unsigned char>(answer[0]))
                           ? answer[0] - '0'
                           : -1;
    switch (menu_) {
    case Menu::Main:
        if (choice == 0) {
            leaveMenu(true);
        } else if (choice == 1) {
            menu_ = Menu::Unit;
            emit("Speed unit 1=m/s 2=km/h 3=knots 4=mph 5=ft/s\r\n");
            emit("Unit:");
        } else if (choice == 2) {
            menu_ = Menu::Period;
            emit("Output period 1=250 ms 2=500 ms 3=1000 ms 4=2000 ms\r\n");
            emit("Period:");
        } else {
            emit("Invalid choice\r\n");
            emit("Choice:");
        }
        break;
    case Menu::Unit:
        if (choice >= 1 && choice <= 5)
            unit_ = kUnits[choice - 1];
        showMain();
        break;
    case Menu::Period:
        if (choice >= 1 && choice <= 4)
            periodMs_ = kPeriods[choice - 1];
        showMain();
        break;
    case Menu::Closed:
        break;
    }
}

void CInstrument::leaveMenu(bool announce)
{
    menu_ = Menu::Closed;
    answer_.clear();
    if (announce)
        emit("?\r\n");
}

CInstrument::Lines CInstrument::tick(Clock::time_point now)
{
    out_.clear();
    if (hungUp_)
        return {};
    if (inMenu() && now >= menuDeadline_)
        leaveMenu(false); // a forgotten menu closes by itself, as the real one does
    if (options_.mode == 232 && !inMenu() && now >= nextData_) {
        if (lineMatches_ && linesWaiting_ < 2)
            emit(nextDataText() + "\r");
        nextData_ += std::chrono::milliseconds(periodMs_);
        if (nextData_ <= now) // fell behind (the process was stopped): start afresh
            nextData_ = now + std::chrono::milliseconds(periodMs_);
    }
    return std::move(out_);
}

int CInstrument::msUntilDue(Clock::time_point now) const
{
    if (hungUp_)
        return -1;
    Clock::time_point due = Clock::time_point::max();
    if (inMenu())
        due = menuDeadline_;
    else if (options_.mode == 232)
        due = nextData_;
    if (due == Clock::time_point::max())
        return -1;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count();
    return static_cast<int>(std::clamp<long long>(ms + 1, 0, 3600000));
}

void CInstrument::emit(std::string line, bool commandReply)
{
    if (silent_ || hungUp_)
        return;
    if (commandReply && garbleLeft_ > 0) {
        --garbleLeft_;
        std::erase(line, '&');
    }
    if (options_.hangupMidLine >= 0 && linesSent_ == options_.hangupMidLine) {
        out_.push_back(std::move(line));
        lastLineCut_ = true;
        hungUp_ = true;
        return;
    }
    if (options_.longAfter >= 0 && linesSent_ == options_.longAfter) {
        // The line is stretched to an over-long one, its terminator kept at the end.
        const std::size_t body = line.find_last_not_of("\r\n") + 1;
        std::string tail = line.substr(body);
        line.resize(body);
        line.resize(kLongLineLength, 'X');
        line += tail.empty() ? "\r" : tail;
    }
    out_.push_back(std::move(line));
    ++linesSent_;
    if (options_.silentAfter >= 0 && linesSent_ >= options_.silentAfter)
        silent_ = true;
    if (options_.hangupAfter >= 0 && linesSent_ >= options_.hangupAfter)
        hungUp_ = true;
}
