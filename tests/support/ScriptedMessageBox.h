#pragma once
// An IMessageBox for tests: records every message with its icon and answers Yes/No questions
// from a script (No when the script is exhausted).

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/MessageBox.h"

struct ShownMessage {
    std::string text;
    MessageIcon icon;
    bool question;
    bool operator==(const ShownMessage&) const = default;
};

class CScriptedMessageBox final : public IMessageBox {
public:
    void tell(std::string_view text, MessageIcon icon) override;
    bool askYesNo(std::string_view text, MessageIcon icon) override;

    void answer(bool yes) { answers_.push_back(yes); }
    const std::vector<ShownMessage>& shown() const { return shown_; }
    std::vector<std::string> texts() const;
    void clear() { shown_.clear(); }
    // Runs inside each tell, after it is recorded: what happens while a modal box is up.
    void whileShown(std::function<void()> action) { whileShown_ = std::move(action); }

private:
    std::deque<bool> answers_;
    std::vector<ShownMessage> shown_;
    std::function<void()> whileShown_;
};
