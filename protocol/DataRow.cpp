#include "protocol/DataRow.h"

#include "protocol/ReplyParser.h"

void appendDataRow(IProtocolView& view, IRecordingSink& recording, int& ledState,
                   std::string_view timeText, const std::string& data)
{
    const int row = view.appendRow(timeText);
    if (view.isRecording()) {
        ledState = ledState == IProtocolView::kLedDark ? IProtocolView::kLedLit
                                                       : IProtocolView::kLedDark;
        view.setLedState(ledState);
        recording.appendDataText(data);
    }
    if (view.rowCount() >= kDataScrollRows)
        view.scrollList();
    const auto fields = splitDataFields(data);
    for (std::size_t k = 0; k < fields.size(); ++k)
        view.setCellText(row, static_cast<int>(k) + 1, fields[k]);
}
