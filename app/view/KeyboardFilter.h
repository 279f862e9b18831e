#pragma once
// What a keystroke in the main window means for the instrument link. In data mode (a line type
// known, no dialogue) a typed "?" asks for the set-up menu and nothing is sent. In the dialogue
// every typed character, Enter (carriage return) and Escape (escape) is written to the port at
// once, and printable characters are echoed into the prompt row. Otherwise nothing happens.
// Keystrokes always go on to the window as well.

#include <string>
#include <string_view>

enum class KeyKind { Typed, Enter, Escape };

struct CKeyAction {
    bool requestDialogue = false;
    std::string write; // bytes for the serial port
    std::string echo;  // bytes to append to the prompt row
    bool operator==(const CKeyAction&) const = default;
};

// typed: the Windows-1252 bytes a Typed key produced (ignored for Enter and Escape).
CKeyAction filterKey(KeyKind kind, std::string_view typed, bool dialogue,
                     std::string_view lineType);
