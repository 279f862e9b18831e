#include "files/FirstMessage.h"

#include <cerrno>

#include "files/FileLimits.h"

void CFirstMessage::tell(std::string_view text, MessageIcon)
{
    if (text_.empty()) {
        reason_ = errno;
        text_ = text;
    }
}

bool CFirstMessage::askYesNo(std::string_view text, MessageIcon icon)
{
    tell(text, icon);
    return false;
}

std::string CFirstMessage::line() const
{
    return reason_ != 0 ? text_ + " (" + fileErrorText(reason_) + ")" : text_;
}
