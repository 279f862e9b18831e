#pragma once
// The log line of the recorder and the archiver: the local time, a blank, the text and a line
// end, queued whole for standard error.

#include <string>
#include <string_view>

#include "core/Clock.h"

std::string logLine(const IClock& clock, std::string_view text);
