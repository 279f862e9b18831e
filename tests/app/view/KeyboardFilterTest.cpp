#include <gtest/gtest.h>

#include "app/view/KeyboardFilter.h"

TEST(KeyboardFilter, EachModeDecidesWhatIsSentEchoedOrRequested)
{
    struct Row {
        const char* what;
        KeyKind kind;
        std::string typed;
        bool dialogue;
        std::string lineType;
        CKeyAction action;
    };
    const Row rows[] = {
        // No instrument yet: nothing at all.
        {"? before identification", KeyKind::Typed, "?", false, "", {}},
        {"Enter before identification", KeyKind::Enter, "", false, "", {}},
        // Data mode: "?" asks for the menu, nothing reaches the port.
        {"? on RS232", KeyKind::Typed, "?", false, "232", {true, "", ""}},
        {"? on RS485", KeyKind::Typed, "?", false, "485", {true, "", ""}},
        {"letter in data mode", KeyKind::Typed, "a", false, "485", {}},
        {"Enter in data mode", KeyKind::Enter, "", false, "232", {}},
        {"Escape in data mode", KeyKind::Escape, "", false, "232", {}},
        {"? on an unknown line", KeyKind::Typed, "?", false, "422", {}},
        // Dialogue: every key goes to the port at once; printable ones are echoed.
        {"digit in dialogue", KeyKind::Typed, "1", true, "485", {false, "1", "1"}},
        {"? in dialogue", KeyKind::Typed, "?", true, "232", {false, "?", "?"}},
        {"Enter in dialogue", KeyKind::Enter, "\r", true, "485", {false, "\r", ""}},
        {"Escape in dialogue", KeyKind::Escape, "\x1b", true, "485", {false, "\x1b", ""}},
        {"degree sign in dialogue", KeyKind::Typed, "\xB0", true, "485", {false, "\xB0", "\xB0"}},
        {"backspace in dialogue", KeyKind::Typed, "\b", true, "485", {false, "\b", ""}},
        {"tab in dialogue", KeyKind::Typed, "\t", true, "232", {false, "\t", ""}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(filterKey(row.kind, row.typed, row.dialogue, row.lineType), row.action)
            << row.what;
}
