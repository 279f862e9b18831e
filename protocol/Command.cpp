#include "protocol/Command.h"

const char* commandLetter(int type)
{
    switch (type) {
    case CCommand::Identify:
        return "D";
    case CCommand::Measure:
        return "M";
    case CCommand::DataLine:
        return "*";
    case CCommand::SetupRs232:
        return "?";
    case CCommand::SetupRs485:
        return "S";
    default:
        return nullptr;
    }
}

std::string frameCommand(std::string_view letter, int address, std::string_view lineType,
                         bool dialogue)
{
    if (lineType == "232")
        return dialogue ? "?" : "";
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string text(letter);
    text += kHexDigits[address & 0xF];
    text += "..";
    return text;
}

std::unique_ptr<CCommand> CCommand::create(int address, int type, std::string_view lineType,
                                           bool dialogue)
{
    const char* letter = commandLetter(type);
    if (letter == nullptr)
        return nullptr;
    return std::unique_ptr<CCommand>(
        new CCommand(address, type, frameCommand(letter, address, lineType, dialogue)));
}

CCommand::CCommand(int address, int type, std::string text)
    : address_(address), type_(type), text_(std::move(text)), timeout_(kTimeout)
{
}
