#pragma once
// Where the protocol engine sends the data text of each data reply while recording is on, and
// what empties the recording file at the start of an autodetect search.

#include <string_view>

class IRecordingSink {
public:
    virtual ~IRecordingSink() = default;

    // Appends one line for a data text; only a text of exactly 104 characters makes a line.
    virtual void appendDataText(std::string_view dataText) = 0;

    // Empties the recording file; false (after its message) when it cannot be emptied.
    virtual bool emptyFile() = 0;
};
