#include "app/view/KeyboardFilter.h"

namespace {

// Control characters (backspace, tab, ...) still reach the instrument, but would show as
// boxes in the prompt row, so they are not echoed.
bool printable(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte != 0x7F;
}

} // namespace

CKeyAction filterKey(KeyKind kind, std::string_view typed, bool dialogue, std::string_view lineType)
{
    CKeyAction action;
    if (!dialogue) {
        const bool dataMode = lineType == "232" || lineType == "485";
        action.requestDialogue =
            dataMode && kind == KeyKind::Typed && typed.find('?') != std::string_view::npos;
        return action;
    }
    switch (kind) {
    case KeyKind::Enter:
        action.write = "\r";
        break;
    case KeyKind::Escape:
        action.write = "\x1b";
        break;
    case KeyKind::Typed:
        action.write = std::string(typed);
        for (char c : typed) {
            if (printable(c))
                action.echo.push_back(c);
        }
        break;
    }
    return action;
}
