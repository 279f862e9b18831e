#pragma once
// The samples of a remote station in the overview, as the local instrument's would be: each
// new sample becomes a data row (the station's time in the time column), toggles the LED and
// goes to the recording file while the REC flag is set, stamped with the station's time. A
// sample whose seq is not above the last one shown (a message delivered again) is dropped.

#include <cstdint>
#include <string>

#include "core/MessageBox.h"
#include "files/RecordingWriter.h"
#include "mqtt/SampleClock.h"
#include "mqtt/SamplePayload.h"
#include "protocol/ProtocolView.h"

class CRemoteFeed {
public:
    CRemoteFeed(IProtocolView& view, std::string recordingPath, IMessageBox& messages);

    // Lays out the data table, the LED lit, as a found instrument does.
    void begin();
    // False when the sample was not shown (a repeat).
    bool take(const SampleMessage& sample);
    // The LED off and recording ended, as a closed link leaves them.
    void end();

private:
    IProtocolView& view_;
    CSampleClock clock_;
    CRecordingWriter recording_;
    int ledState_ = IProtocolView::kLedLit;
    std::uint64_t lastSeq_ = 0;
};
