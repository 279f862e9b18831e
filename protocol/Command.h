#pragma once
// One request to the instrument: the exact bytes to write and how long to wait for the answer.
// The text is framed when the command is built, from the line type and dialogue state of that
// moment: table letter, hexadecimal address digit and "..", replaced on RS232 by nothing (the
// instrument streams by itself) or by "?" (open its set-up menu).

#include <memory>
#include <string>
#include <string_view>

class CCommand {
public:
    // Command types: the table letter each one sends.
    enum Type {
        Identify = 22,   // "D"
        Measure = 23,    // "M", the RS485 poll
        DataLine = 24,   // "*", waits for the next streamed RS232 line
        SetupRs232 = 25, // "?", opens the set-up menu on RS232
        SetupRs485 = 26, // "S", opens the set-up menu on RS485
    };

    // Reply time-out of every command, in units of 10 ms.
    static constexpr int kTimeout = 200;

    // Builds a command for a known type; null for any other type.
    static std::unique_ptr<CCommand> create(int address, int type, std::string_view lineType,
                                            bool dialogue);

    virtual ~CCommand() = default;

    int type() const { return type_; }
    int address() const { return address_; }
    int timeout() const { return timeout_; }
    std::string text() const { return text_; }

private:
    CCommand(int address, int type, std::string text);

    int address_;
    int type_;
    std::string text_;
    int timeout_;
};

// The letter a command type sends before framing, or null for an unknown type.
const char* commandLetter(int type);

// The framed text for a table letter; see the file comment.
std::string frameCommand(std::string_view letter, int address, std::string_view lineType,
                         bool dialogue);
