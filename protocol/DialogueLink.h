#pragma once
// What the overview's keyboard filter needs of the instrument link held by the main frame: the
// line type ("", "232" or "485"), whether the instrument's set-up menu dialogue is open, and a
// way to ask for that dialogue (the next data reply then opens it).

#include <string>

class IDialogueLink {
public:
    virtual ~IDialogueLink() = default;
    virtual std::string lineType() const = 0;
    virtual bool dialogue() const = 0;
    virtual void requestDialogue() = 0;
};
