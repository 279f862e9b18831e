#include "tools/record/LogLine.h"

#include <cerrno>
#include <string>
#include <unistd.h>

void writeLogLine(const IClock& clock, std::string_view text)
{
    std::string line = formatTime(clock.localNow(), kFullDateTimeLayout);
    line += ' ';
    line += text;
    line += '\n';
    for (std::string_view rest = line; !rest.empty();) {
        const ssize_t written = ::write(STDERR_FILENO, rest.data(), rest.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        rest.remove_prefix(static_cast<std::size_t>(written));
    }
}
