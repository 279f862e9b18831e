#pragma once
// One sample row: a date-time text and its field texts in channel order, all exactly as they
// stand in the file. A record-file row has 13 fields; a log-file row has 13 per instrument block.

#include <string>
#include <string_view>
#include <vector>

class CDataItem {
public:
    std::string dateTime;
    std::vector<std::string> fields;

    // A row for a data text received from the instrument: its 13 fields cut at 8-character steps.
    static CDataItem fromDataText(std::string_view dateTime, std::string_view dataText);

    bool operator==(const CDataItem&) const = default;
};
