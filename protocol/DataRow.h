#pragma once
// One data row of the overview table, for a sample of the local instrument and for one that
// arrives from a remote station alike: a row with the time text, the LED toggled and the data
// text recorded while recording is on, the table scrolled once it holds kDataScrollRows rows,
// then the thirteen field cells.

#include <string>
#include <string_view>

#include "files/RecordingSink.h"
#include "protocol/ProtocolView.h"

// Rows the table shows before new rows need scrolling into view.
inline constexpr int kDataScrollRows = 25;
// The time column of a streamed data line.
inline constexpr const char* kStreamTimeLayout = "%H:%M:%S %Y/%m/%d";

// ledState is the LED's current state (IProtocolView::kLedLit or kLedDark), toggled per
// recorded row.
void appendDataRow(IProtocolView& view, IRecordingSink& recording, int& ledState,
                   std::string_view timeText, const std::string& data);
