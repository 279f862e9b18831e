#include "tools/record/LogLine.h"

std::string logLine(const IClock& clock, std::string_view text)
{
    std::string line = formatTime(clock.localNow(), kFullDateTimeLayout);
    line += ' ';
    line += text;
    line += '\n';
    return line;
}
