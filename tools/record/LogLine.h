#pragma once
// The log line of the recorder and the archiver: the local time, a blank, the text, written to
// standard error in one write so that lines never interleave in a shared journal.

#include <string_view>

#include "core/Clock.h"

void writeLogLine(const IClock& clock, std::string_view text);
