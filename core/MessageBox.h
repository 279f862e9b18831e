#pragma once
// Every message box of the programs goes through IMessageBox: model code states the text, the
// icon and whether it asks Yes/No; the window layer shows it with QMessageBox, and tests script
// the answers and read the exact texts. Texts are Windows-1252 bytes, like all program text.

#include <string_view>

enum class MessageIcon { None, Stop, Exclamation, Information, Question };

class IMessageBox {
public:
    virtual ~IMessageBox() = default;

    // Shows text with an OK button and waits until it is closed.
    virtual void tell(std::string_view text, MessageIcon icon) = 0;

    // Shows text with Yes and No buttons; true for Yes.
    virtual bool askYesNo(std::string_view text, MessageIcon icon) = 0;
};
