#pragma once
// The message box of programs without windows (ventora-convert): keeps the first message a
// reader shows, with the reason (errno when it was shown: a system error or a limit of
// files/FileLimits.h), for one line on standard error. Later messages are dropped; questions are answered No.

#include <string>

#include "core/MessageBox.h"

class CFirstMessage final : public IMessageBox {
public:
    void tell(std::string_view text, MessageIcon icon) override;
    bool askYesNo(std::string_view text, MessageIcon icon) override;

    // "TEXT (REASON)", TEXT alone when errno was 0, empty while nothing was shown.
    std::string line() const;

private:
    std::string text_;
    int reason_ = 0;
};
