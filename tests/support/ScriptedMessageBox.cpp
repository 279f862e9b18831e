#include "tests/support/ScriptedMessageBox.h"

void CScriptedMessageBox::tell(std::string_view text, MessageIcon icon)
{
    shown_.push_back({std::string(text), icon, false});
    if (whileShown_)
        whileShown_();
}

bool CScriptedMessageBox::askYesNo(std::string_view text, MessageIcon icon)
{
    shown_.push_back({std::string(text), icon, true});
    if (answers_.empty())
        return false;
    bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

std::vector<std::string> CScriptedMessageBox::texts() const
{
    std::vector<std::string> result;
    for (const auto& message : shown_)
        result.push_back(message.text);
    return result;
}
